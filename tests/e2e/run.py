#!/usr/bin/env python3
"""Runs end-to-end cases: a program of build/bin inside tmux, driven by keys, its screen and its
files compared with what the case expects. See README.md beside this file."""

import argparse
import glob
import difflib
import filecmp
import os
import re
import shlex
import shutil
import signal
import socket as sockets
import subprocess
import sys
import tempfile
import threading
import time
import unicodedata

WAIT_SECONDS = 30.0  # generous: the machine may be busy building
POLL_SECONDS = 0.05

# tmux's ANSI colour number back to the console's colour index.
CONSOLE_INDEX = [0, 4, 2, 6, 1, 5, 3, 7]


class CaseFailure(Exception):
    pass


def cell_width(ch):
    if unicodedata.combining(ch):
        return 0
    return 2 if unicodedata.east_asian_width(ch) in ("W", "F") else 1


def parse_capture(text, width, height):
    """capture-pane -p -e output -> (rows of text, rows of attribute lists)."""
    rows, attrs = [], []
    fg = bg = None
    for line in text.split("\n")[:height]:
        chars, cells = [], []
        i = 0
        while i < len(line):
            if line[i] == "\x1b" and i + 1 < len(line) and line[i + 1] == "[":
                j = i + 2
                while j < len(line) and not line[j].isalpha():
                    j += 1
                if j < len(line) and line[j] == "m":
                    fg, bg = apply_sgr(line[i + 2 : j], fg, bg)
                i = j + 1
                continue
            ch = line[i]
            chars.append(ch)
            for _ in range(max(cell_width(ch), 1)):
                cells.append((fg, bg))
            i += 1
        rows.append("".join(chars).rstrip())
        cells += [(None, None)] * (width - len(cells))
        attrs.append(cells[:width])
    while len(rows) < height:
        rows.append("")
        attrs.append([(None, None)] * width)
    return rows, attrs


def apply_sgr(params, fg, bg):
    codes = [int(p) if p.isdigit() else 0 for p in params.split(";")] if params else [0]
    k = 0
    while k < len(codes):
        c = codes[k]
        if c == 0:
            fg = bg = None
        elif 30 <= c <= 37:
            fg = CONSOLE_INDEX[c - 30]
        elif 90 <= c <= 97:
            fg = CONSOLE_INDEX[c - 90] + 8
        elif 40 <= c <= 47:
            bg = CONSOLE_INDEX[c - 40]
        elif 100 <= c <= 107:
            bg = CONSOLE_INDEX[c - 100] + 8
        elif c == 39:
            fg = None
        elif c == 49:
            bg = None
        elif c in (38, 48) and k + 2 < len(codes) and codes[k + 1] == 5:
            n = codes[k + 2]
            value = CONSOLE_INDEX[n % 8] + (8 if n >= 8 else 0) if n < 16 else None
            if c == 38:
                fg = value
            else:
                bg = value
            k += 2
        elif c in (38, 48) and k + 4 < len(codes) and codes[k + 1] == 2:
            k += 4
        k += 1
    return fg, bg


def attr_name(cell):
    """An attribute as the console writes it: background digit, foreground digit; '-' default."""
    fg, bg = cell
    return ("-" if bg is None else "%x" % bg) + ("-" if fg is None else "%x" % fg)


def render_screen(rows, attrs):
    out = list(rows)
    out.append("--- attributes (row: column=background foreground, - the terminal's default)")
    for r, cells in enumerate(attrs):
        runs, last = [], None
        for c, cell in enumerate(cells):
            name = attr_name(cell)
            if name != last:
                runs.append("%d=%s" % (c, name))
                last = name
        if runs != ["0=--"]:
            out.append("%d: %s" % (r, " ".join(runs)))
    return "\n".join(out) + "\n"


class Terminal:
    def __init__(self, socket, width, height):
        self.socket = socket
        self.width = width
        self.height = height

    def tmux(self, *args, check=True):
        result = subprocess.run(["tmux", "-u", "-L", self.socket, "-f", "/dev/null"] + list(args),
                                capture_output=True, text=True, encoding="utf-8", errors="replace")
        if check and result.returncode != 0:
            raise CaseFailure("tmux %s: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    def start(self, script, output, go):
        """Starts the script in a new pane. The script waits for the file `go`, which appears once
        the terminal is set up, so that on a busy machine the program never runs with tmux's
        defaults or with output nobody records."""
        self.tmux("new-session", "-d", "-x", str(self.width), "-y", str(self.height), "sh " + script)
        self.tmux("set-option", "-g", "escape-time", "10")
        self.tmux("set-option", "-g", "status", "off")
        self.tmux("pipe-pane", "-o", "cat >> '%s'" % output)
        with open(go, "w"):
            pass

    def resize(self, width, height):
        """Gives the terminal another size while the program runs (it gets SIGWINCH)."""
        self.tmux("resize-window", "-x", str(width), "-y", str(height))
        self.width, self.height = width, height

    def capture(self):
        raw = self.tmux("capture-pane", "-p", "-e", "-N")
        return parse_capture(raw, self.width, self.height)

    def screen_text(self):
        return render_screen(*self.capture())

    def plain(self):
        return self.tmux("capture-pane", "-p")

    def flags(self):
        return self.tmux("display-message", "-p", "#{alternate_on} #{cursor_flag}").split()

    def stop(self):
        self.tmux("kill-server", check=False)


def keep_width(text, value, name):
    """Shows `value` as `name`, with the blanks after it widened or narrowed so that what follows
    them (the frame of the information screen) stays in its column whatever the value's length:
    the screen then reads the same on every machine."""
    def replace(match):
        shown = name + match.group(1)
        least = 1 if match.group(2) else 0
        return shown + " " * max(len(match.group(0)) - len(shown), least)
    return re.sub(re.escape(value) + r"(\S*)( *)", replace, text)


class Rigctld:
    """hamlib's rigctld with its dummy radio (-m 1) on a free port of 127.0.0.1."""

    def __init__(self):
        self.process = None
        self.port = None

    def start(self):
        if shutil.which("rigctld") is None or shutil.which("rigctl") is None:
            raise CaseFailure("rigctld and rigctl are not installed (Debian libhamlib-utils; script/deps installs it)")
        for _ in range(20):
            self.port = free_port()
            self.process = subprocess.Popen(["rigctld", "-m", "1", "-T", "127.0.0.1", "-t", str(self.port)],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + WAIT_SECONDS
            while time.monotonic() < deadline and self.process.poll() is None:
                if accepts(self.port):
                    return
                time.sleep(POLL_SECONDS)
            self.stop()  # the port was taken meanwhile, or it is slow: another port
        raise CaseFailure("rigctld did not start listening")

    def set(self, commands):
        if self.process is None:
            raise CaseFailure("no rigctld is running (a `rigctld` step starts one)")
        result = subprocess.run(["rigctl", "-m", "2", "-r", "127.0.0.1:%d" % self.port] + commands,
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise CaseFailure("rigctl %s: %s" % (" ".join(commands), result.stderr.strip()))

    def stop(self):
        if self.process is not None:
            self.process.terminate()
            self.process.wait()
            self.process = None


class RigPeer:
    """A peer on a free port of 127.0.0.1 that is no rigctld: `silent` accepts and never answers,
    `garbage` answers every line with text that is not rigctld's."""

    def __init__(self, kind):
        if kind not in ("silent", "garbage"):
            raise CaseFailure("unknown rig peer %r" % kind)
        self.kind = kind
        self.listener = sockets.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(4)
        self.port = self.listener.getsockname()[1]
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while True:
            try:
                connection, _ = self.listener.accept()
            except OSError:
                return
            with connection:
                while True:
                    try:
                        data = connection.recv(256)
                    except OSError:
                        break
                    if not data:
                        break
                    if self.kind == "garbage":
                        connection.sendall(b"<html>404</html>\n" * data.count(b"\n"))

    def stop(self):
        try:
            self.listener.shutdown(sockets.SHUT_RDWR)
        except OSError:
            pass
        self.listener.close()


def free_port():
    with sockets.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def free_udp_port():
    with sockets.socket(sockets.AF_INET, sockets.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def accepts(port):
    with sockets.socket() as probe:
        return probe.connect_ex(("127.0.0.1", port)) == 0


class Case:
    def __init__(self, folder, bin_dir, update, verbose, installed=False):
        self.folder = os.path.abspath(folder)
        self.name = os.path.basename(self.folder.rstrip("/"))
        self.bin_dir = os.path.abspath(bin_dir)
        self.installed = installed
        self.update = update
        self.verbose = verbose
        self.width, self.height = 80, 25
        self.terminal = None
        self.terminals = {}  # the terminal of `start` (1) and of `second` (2), with their control folders
        self.starts = 1
        self.expected_dir = os.path.join(self.folder, "expected")
        self.rigctld = Rigctld()
        self.rig_peers = []
        self.rig = ""  # the address $RIG stands for in commands and on screens
        # The UDP address $WSJTX stands for, where the `wsjtx` step sends WSJT-X's messages.
        self.wsjtx = "127.0.0.1:%d" % free_udp_port()
        self.wsjtx_send = os.path.join(os.path.dirname(self.bin_dir), "tests", "wsjtx_send")

    def log(self, text):
        if self.verbose:
            print("  " + text)

    def run(self):
        with tempfile.TemporaryDirectory(prefix="vondal-e2e-") as scratch:
            self.work = os.path.join(scratch, "work")
            self.control = os.path.join(scratch, "control")
            os.makedirs(self.control)
            if self.installed:
                # An installed program as its user runs it: no VONDAL_HOME, a home folder of its
                # own (empty), and the program folder the program makes there.
                self.home = os.path.join(scratch, "home")
                os.makedirs(self.home)
                self.program = os.path.join(self.home, ".config", "vondal")
            else:
                self.make_program_folder(os.path.join(scratch, "program"))
            files = os.path.join(self.folder, "files")
            if os.path.isdir(files):
                shutil.copytree(files, self.work)
            else:
                os.makedirs(self.work)
            socket = "vondal-e2e-%d-%s" % (os.getpid(), self.name)
            try:
                with open(os.path.join(self.folder, "script"), encoding="utf-8") as script:
                    for number, line in enumerate(script, 1):
                        line = line.rstrip("\n")
                        if not line.strip() or line.lstrip().startswith("#"):
                            continue
                        word, _, rest = line.strip().partition(" ")
                        self.log("%d: %s" % (number, line.strip()))
                        try:
                            self.step(word, rest, socket)
                        except CaseFailure as failure:
                            raise CaseFailure("script line %d (%s): %s" % (number, line.strip(), failure))
            finally:
                if self.terminal:
                    self.terminal.stop()
                for terminal, _ in self.terminals.values():
                    terminal.stop()
                self.rigctld.stop()
                for peer in self.rig_peers:
                    peer.stop()

    def make_program_folder(self, folder):
        """The case's own program folder (VONDAL_HOME): links to the programs and data files of
        build/bin, so that what Vondal writes beside itself (Vondal.VDC) stays in the case and
        every case starts without one."""
        self.program = folder
        os.makedirs(folder)
        for entry in os.listdir(self.bin_dir):
            if entry.upper().endswith((".VDC", ".VDM", ".TMP~")):
                continue
            os.symlink(os.path.join(self.bin_dir, entry), os.path.join(folder, entry))

    def step(self, word, rest, socket):
        if word == "size":
            self.width, self.height = (int(n) for n in rest.lower().split("x"))
        elif word == "start":
            self.start(rest, socket)
        elif word == "second":
            self.start_second(rest, socket)
        elif word == "use":
            self.use(int(rest))
        elif word == "wait":
            self.wait_for_text(rest)
        elif word == "keys":
            self.terminal.tmux("send-keys", *rest.split())
        elif word == "type":
            self.terminal.tmux("send-keys", "-l", rest)
        elif word == "hex":
            self.terminal.tmux("send-keys", "-H", *rest.split())
        elif word == "sleep":
            time.sleep(float(rest))
        elif word == "screen":
            self.compare_screen(rest.strip())
        elif word == "exit":
            self.wait_for_exit(int(rest))
        elif word == "file":
            self.compare_file(rest.strip())
        elif word == "signal":
            self.send_signal(rest.strip())
        elif word == "resize":
            width, height = (int(n) for n in rest.lower().split("x"))
            self.terminal.resize(width, height)
        elif word == "output":
            self.poll(lambda: bytes.fromhex(rest) in self.output(), "the bytes %s in the output" % rest)
        elif word == "no-output":
            self.check_not_output(bytes.fromhex(rest))
        elif word == "rigctld":
            if rest.strip() == "stop":
                self.rigctld.stop()
            else:
                self.rigctld.start()
                self.rig = "127.0.0.1:%d" % self.rigctld.port
        elif word == "rig":
            self.rigctld.set(rest.split())
        elif word == "rig-peer":
            peer = RigPeer(rest.strip())
            self.rig_peers.append(peer)
            self.rig = "127.0.0.1:%d" % peer.port
        elif word == "wsjtx":
            result = subprocess.run([self.wsjtx_send, self.wsjtx] + shlex.split(rest), capture_output=True, text=True)
            if result.returncode != 0:
                raise CaseFailure("wsjtx_send %s: %s" % (rest, result.stderr.strip()))
        else:
            raise CaseFailure("unknown step %r" % word)

    def start(self, command, socket):
        if self.terminal:
            # A later start of the same case: a new terminal (on a socket of its own, so that it
            # never meets the server that is going away) on the same work and program folders.
            self.terminal.stop()
            self.starts += 1
            socket = "%s-%d" % (socket, self.starts)
            for name in ("go", "status", "status.tmp", "output", "stty.before", "stty.after"):
                if os.path.exists(os.path.join(self.control, name)):
                    os.remove(os.path.join(self.control, name))
        self.terminal = self.launch(command, socket, self.control)
        self.terminals[1] = (self.terminal, self.control)

    def start_second(self, command, socket):
        """A second terminal beside the first, on the same work and program folders (two programs
        on one log); the steps after it go to it until `use 1`."""
        if 1 not in self.terminals:
            raise CaseFailure("second needs a start before it")
        control = self.control + "-second"
        os.makedirs(control, exist_ok=True)
        terminal = self.launch(command, socket + "-second", control)
        self.terminals[2] = (terminal, control)
        self.use(2)

    def use(self, number):
        if number not in self.terminals:
            raise CaseFailure("no terminal %d" % number)
        self.terminal, self.control = self.terminals[number]

    @staticmethod
    def remove_stale_faketime():
        """faketime keeps a semaphore and a shared memory object named by its pid in /dev/shm and
        removes them when it ends; one killed with its terminal leaves them behind, and a later
        faketime that gets the same pid refuses to start ("sem_open: File exists")."""
        for path in glob.glob("/dev/shm/sem.faketime_sem_*") + glob.glob("/dev/shm/faketime_shm_*"):
            pid = path.rsplit("_", 1)[-1]
            if pid.isdigit() and not os.path.exists("/proc/" + pid):
                try:
                    os.remove(path)
                except OSError:
                    pass

    def launch(self, command, socket, control):
        self.remove_stale_faketime()
        wrapper = os.path.join(control, "run.sh")
        go = os.path.join(control, "go")
        with open(wrapper, "w", encoding="utf-8") as out:
            out.write("while [ ! -e '%s' ]; do sleep 0.01; done\n" % go)
            out.write("cd '%s'\n" % self.work)
            if self.installed:
                out.write("unset VONDAL_HOME XDG_CONFIG_HOME\n")
                out.write("export LANG=C.UTF-8 LC_ALL=C.UTF-8 HOME='%s' PATH='%s':\"$PATH\"\n" % (self.home, self.bin_dir))
            else:
                out.write("export LANG=C.UTF-8 LC_ALL=C.UTF-8 VONDAL_HOME='%s' PATH='%s':\"$PATH\"\n" % (self.program, self.bin_dir))
            out.write("export RIG='%s' WSJTX='%s'\n" % (self.rig, self.wsjtx))
            out.write("stty -a > '%s/stty.before'\n" % control)
            out.write("%s\n" % command)
            out.write("echo $? > '%s/status.tmp'\n" % control)
            out.write("stty -a > '%s/stty.after'\n" % control)
            out.write("mv '%s/status.tmp' '%s/status'\n" % (control, control))
            out.write("exec sleep 100000\n")
        terminal = Terminal(socket, self.width, self.height)
        terminal.start(wrapper, os.path.join(control, "output"), go)
        return terminal

    def poll(self, predicate, what):
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() > deadline:
                raise CaseFailure("timed out waiting for %s\n--- screen:\n%s" % (what, self.terminal.plain()))
            time.sleep(POLL_SECONDS)

    def wait_for_text(self, text):
        self.poll(lambda: text in self.terminal.plain(), "%r on the screen" % text)

    def stable_screen(self):
        previous = None
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            current = self.screen_text()
            if current == previous:
                return current
            previous = current
            time.sleep(0.3)
        return previous

    def screen_text(self):
        # The work and program folders are new temporary folders each run; screens show them as
        # $WORK and $PROGRAM.
        # The information screen shows the programs' own folder as $BIN (the program file is
        # found through its link) and the system's release as $RELEASE.
        text = self.terminal.screen_text().replace(self.work, "$WORK").replace(self.program, "$PROGRAM")
        text = keep_width(text, os.path.realpath(self.bin_dir), "$BIN")
        # In developer mode the version is dated by the program file: $BUILT.
        built = os.path.join(self.bin_dir, "vondal")
        if os.path.exists(built):
            text = text.replace(time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(os.path.getmtime(built))), "$BUILT")
        if self.rig:
            text = keep_width(text, self.rig, "$RIG")
        text = keep_width(text, self.wsjtx, "$WSJTX")
        release = os.uname().release
        return keep_width(text, release, "$RELEASE") if len(release) >= 5 else text

    def compare_screen(self, name):
        path = os.path.join(self.expected_dir, name)
        if self.update:
            os.makedirs(self.expected_dir, exist_ok=True)
            with open(path, "w", encoding="utf-8") as out:
                out.write(self.stable_screen())
            print("  updated %s" % os.path.relpath(path))
            return
        if not os.path.exists(path):
            raise CaseFailure("no expected screen %s (run with --update to make it)" % path)
        with open(path, encoding="utf-8") as f:
            expected = f.read()
        deadline = time.monotonic() + WAIT_SECONDS
        actual = ""
        while time.monotonic() < deadline:
            actual = self.screen_text()
            if actual == expected:
                return
            time.sleep(POLL_SECONDS * 4)
        diff = difflib.unified_diff(expected.splitlines(), actual.splitlines(), "expected/" + name, "actual", lineterm="")
        raise CaseFailure("screen differs from %s:\n%s" % (name, "\n".join(diff)))

    def wait_for_exit(self, expected_status):
        status_file = os.path.join(self.control, "status")
        self.poll(lambda: os.path.exists(status_file), "the program to end")
        with open(status_file) as f:
            status = int(f.read().strip())
        if status != expected_status:
            raise CaseFailure("exit status %d, expected %d\n--- screen:\n%s" % (status, expected_status, self.terminal.plain()))
        alternate, cursor = self.terminal.flags()
        if alternate != "0":
            raise CaseFailure("the program left the terminal on its alternate screen")
        if cursor != "1":
            raise CaseFailure("the program left the cursor hidden")
        with open(os.path.join(self.control, "stty.before")) as a, open(os.path.join(self.control, "stty.after")) as b:
            if a.read() != b.read():
                raise CaseFailure("the terminal modes (stty) were not restored")

    def output_file(self):
        return os.path.join(self.control, "output")

    def output(self):
        """Every byte the programs of the case have written to the terminal so far."""
        try:
            with open(self.output_file(), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""

    def check_not_output(self, unwanted):
        # Only meaningful once the program has ended: wait until tmux has passed on all of it.
        if not os.path.exists(os.path.join(self.control, "status")):
            raise CaseFailure("no-output needs an exit step before it")
        previous = None
        while True:
            current = self.output()
            if current == previous:
                break
            previous = current
            time.sleep(0.3)
        if unwanted in current:
            at = current.find(unwanted)
            raise CaseFailure("the program wrote %s: ...%r..." % (unwanted.hex(" "), current[max(at - 40, 0) : at + 40]))

    def send_signal(self, name):
        """Sends SIG<name> to the program (the child of the pane's shell)."""
        shell = self.terminal.tmux("display-message", "-p", "#{pane_pid}").strip()
        children = subprocess.run(["ps", "--ppid", shell, "-o", "pid="], capture_output=True, text=True).stdout.split()
        if not children:
            raise CaseFailure("no program is running to signal")
        os.kill(int(children[0]), getattr(signal, "SIG" + name))

    def compare_file(self, name):
        # "$PROGRAM/Vondal.VDC" is a file of the program folder, expected as expected/program/Vondal.VDC.
        if name.startswith("$PROGRAM/"):
            expected = os.path.join(self.expected_dir, "program", name[len("$PROGRAM/"):])
            actual = os.path.join(self.program, name[len("$PROGRAM/"):])
        else:
            expected = os.path.join(self.expected_dir, name)
            actual = os.path.join(self.work, name)
        if not os.path.exists(actual):
            raise CaseFailure("the program left no file %s" % name)
        # An expected file that is a link names a source file the result must equal (the shipped
        # example configuration): --update compares it rather than writing through the link.
        if self.update and not os.path.islink(expected):
            os.makedirs(os.path.dirname(expected), exist_ok=True)
            shutil.copyfile(actual, expected)
            print("  updated %s" % os.path.relpath(expected))
            return
        if not filecmp.cmp(expected, actual, shallow=False):
            with open(expected, "rb") as a, open(actual, "rb") as b:
                old, new = a.read(), b.read()
            diff = difflib.unified_diff(old.decode("utf-8", "replace").splitlines(),
                                        new.decode("utf-8", "replace").splitlines(),
                                        "expected/" + name, "actual", lineterm="")
            raise CaseFailure("file %s differs (%d bytes expected, %d found):\n%s" % (name, len(old), len(new), "\n".join(diff)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("cases", nargs="+", help="case folders under tests/e2e/")
    parser.add_argument("--bin", default=os.path.join(os.path.dirname(__file__), "..", "..", "build", "bin"),
                        help="folder of the programs (default build/bin)")
    parser.add_argument("--update", action="store_true", help="write the expected screens and files from this run")
    parser.add_argument("--installed", action="store_true",
                        help="--bin is the bin/ of an installation: run it as its user would, with an empty home folder")
    parser.add_argument("-v", "--verbose", action="store_true", help="show each step")
    args = parser.parse_args()
    if shutil.which("tmux") is None:
        print("tmux is not installed (script/deps installs it)")
        return 1
    failed = 0
    for folder in args.cases:
        case = Case(folder, args.bin, args.update, args.verbose, args.installed)
        try:
            case.run()
            print("PASS %s" % case.name)
        except CaseFailure as failure:
            failed += 1
            print("FAIL %s: %s" % (case.name, failure))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
