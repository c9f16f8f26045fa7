#!/usr/bin/env python3
"""Checks an installation of the system: the programs in bin/, the data files in share/vondal/,
the manual pages in share/man/, and the installed programs run from another folder by a user with
an empty home folder.

    check_tree.py --install BUILD [--cmake CMAKE] PREFIX   installs BUILD into PREFIX (made anew), then checks it
    check_tree.py [--package DEB] PREFIX                   checks an installation that is there (/usr of the package)
"""
import argparse
import io
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile

PROGRAMS = ["vondal", "vonrix", "vonfill", "scroll"]
DATA = ["CGlist3.TXT", "QTH.dic", "Ru2Macro.TXT", "Vondal.ini.example"]
VERSIONS = {"vondal": "Vondal w01.", "vonrix": "Vonrix w01.", "vonfill": "Vonfill w01.", "scroll": "scroll w01."}


def expected_files():
    files = ["bin/" + p for p in PROGRAMS] + ["share/vondal/" + d for d in DATA]
    for section in ("share/man/man1/", "share/man/ja/man1/"):
        files += [section + p + ".1.gz" for p in PROGRAMS]
    return sorted(files)


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def installed_files(prefix):
    found = []
    for folder, _, names in os.walk(prefix):
        found += [os.path.relpath(os.path.join(folder, n), prefix) for n in names]
    return sorted(found)


def run(prefix, home, work, *args):
    """Runs an installed program as a user would from a script: stdout a pipe, no terminal."""
    environment = {"HOME": home, "PATH": "/usr/bin:/bin", "LANG": "C"}
    return subprocess.run([os.path.join(prefix, "bin", args[0])] + list(args[1:]), cwd=work, env=environment,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=60)


def check_layout(prefix, exact, build):
    expected = expected_files()
    if exact:
        found = installed_files(prefix)
        check(found == expected, "the installation holds %s, expected %s" % (found, expected))
    else:
        # An installation among others (/usr): its programs and data; the package's listing
        # holds the manual pages (a system may be set to leave them out).
        expected = [name for name in expected if not name.startswith("share/man/")]
    for name in expected:
        check(os.path.isfile(os.path.join(prefix, name)), "%s is not installed" % name)
    for program in PROGRAMS:
        check(os.access(os.path.join(prefix, "bin", program), os.X_OK), "bin/%s cannot be run" % program)
    if build:
        for name in DATA:
            with open(os.path.join(build, "bin", name), "rb") as a, open(os.path.join(prefix, "share/vondal", name), "rb") as b:
                check(a.read() == b.read(), "share/vondal/%s differs from the build's" % name)


def check_programs(prefix):
    with tempfile.TemporaryDirectory(prefix="vondal-install-") as scratch:
        home, work = os.path.join(scratch, "home"), os.path.join(scratch, "work")
        os.makedirs(home)
        os.makedirs(work)
        for program in PROGRAMS:
            for option in ("--help", "--version"):
                result = run(prefix, home, work, program, option)
                text = result.stdout.decode("utf-8")  # the C locale prints UTF-8
                check(result.returncode == 0, "%s %s ended with status %d" % (program, option, result.returncode))
                check(result.stderr == b"", "%s %s wrote to stderr: %r" % (program, option, result.stderr))
                if option == "--version":
                    check(text.startswith(VERSIONS[program]) and text.count("\n") == 1,
                          "%s --version printed %r" % (program, text))
                else:
                    check("--version" in text and "man " + program in text, "%s --help printed %r" % (program, text))
        # The help names the configuration an installed Vondal reads: the user's own.
        help_text = run(prefix, home, work, "vondal", "--help").stdout.decode("utf-8")
        config = os.path.join(home, ".config/vondal/Vondal.ini")
        check("設定ﾌｧｲﾙ: " + config in help_text, "vondal --help does not name %s:\n%s" % (config, help_text))
        # Running the program itself still needs a terminal, and a refused start makes nothing.
        refused = run(prefix, home, work, "vondal", "mylog")
        check(refused.returncode == 1 and "(!) ﾘﾀﾞｲﾚｸﾄはできません" in refused.stdout.decode("utf-8"),
              "vondal without a terminal: status %d, %r" % (refused.returncode, refused.stdout))
        check(os.listdir(home) == [], "the home folder holds %s after --help and a refused start" % os.listdir(home))
        # Vonfill reads the city list of the installation.
        made = run(prefix, home, work, "vonfill", "dummy", "20", "-S1")
        check(made.returncode == 0, "vonfill: status %d, %r" % (made.returncode, made.stderr))
        check(os.path.getsize(os.path.join(work, "dummy.VD")) == 20 * 200, "vonfill wrote no log of 20 records")


def check_package(deb):
    """The package holds the files of an installation under /usr, and nothing else."""
    listing = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], capture_output=True, check=True).stdout
    with tarfile.open(fileobj=io.BytesIO(listing)) as tar:
        found = sorted(os.path.relpath(m.name, "./usr") for m in tar.getmembers() if m.isfile())
    check(found == expected_files(), "the package holds %s, expected %s" % (found, expected_files()))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("prefix")
    parser.add_argument("--install", metavar="BUILD", help="install this build folder into PREFIX first")
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--package", metavar="DEB", help="also check that this package holds the installation")
    args = parser.parse_args()
    prefix = os.path.abspath(args.prefix)
    try:
        if args.install:
            shutil.rmtree(prefix, ignore_errors=True)
            result = subprocess.run([args.cmake, "--install", args.install, "--prefix", prefix], capture_output=True)
            check(result.returncode == 0, "cmake --install failed:\n%s" % result.stderr.decode("utf-8", "replace"))
        if args.package:
            check_package(args.package)
        check_layout(prefix, exact=bool(args.install), build=args.install)
        check_programs(prefix)
    except Failure as failure:
        print("FAIL %s: %s" % (prefix, failure))
        return 1
    print("PASS the installation in %s" % prefix)
    return 0


if __name__ == "__main__":
    sys.exit(main())
