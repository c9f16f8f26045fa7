#!/usr/bin/env python3
"""Checks that this case presses exactly the keys the README's "Your first contact" gives a
newcomer, in the same order: the README's table names each key or typed text in backquotes in its
first column, and the case's `keys` and `type` steps send them. Usage: readme_check.py README.md"""
import os
import re
import sys

# The README's names of keys, as tmux names them.
TMUX_NAMES = {"Esc": "Escape", "Ins": "IC"}


def readme_steps(readme):
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    section = re.search(r"^## Your first contact\n(.*?)(?=^## )", text, re.M | re.S)
    if not section:
        sys.exit("README has no section \"Your first contact\"")
    steps = []
    for row in re.findall(r"^\| (.*?) \|", section.group(1), re.M):
        for item in re.findall(r"`([^`]+)`", row):
            steps.append(TMUX_NAMES.get(item, item))
    return steps


def script_steps(script):
    steps = []
    with open(script, encoding="utf-8") as f:
        for line in f:
            word, _, rest = line.strip().partition(" ")
            if word == "keys":
                steps.extend(rest.split())
            elif word == "type":
                steps.append(rest)
    return steps


def main():
    readme = readme_steps(sys.argv[1])
    script = script_steps(os.path.join(os.path.dirname(os.path.abspath(__file__)), "script"))
    if readme != script:
        print("README:  " + " ".join(readme))
        print("script:  " + " ".join(script))
        sys.exit("the README's first contact and tests/e2e/first_contact/script press different keys")
    print("the README's first contact: %d steps, as the case presses them" % len(readme))


if __name__ == "__main__":
    main()
