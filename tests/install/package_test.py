#!/usr/bin/env python3
"""The Debian package: built with CPack into a temporary folder, its
control fields, its contents (a stripped executable, the documents) and
lintian with no error. Prints lintian's remaining tags. Exit status 0 when
all checks hold."""

import argparse
import glob
import os
import subprocess
import sys
import tempfile

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    a = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vesk-deb-") as tmp:
        run = subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(a.build, "CPackConfig.cmake"), "-B", tmp],
                             capture_output=True, text=True, timeout=600)
        debs = glob.glob(os.path.join(tmp, "vesk_*_*.deb"))
        check(run.returncode == 0 and len(debs) == 1, "cpack made vesk_<version>_<arch>.deb %s %s"
              % ([os.path.basename(d) for d in debs], run.stderr.strip()[-300:]))
        if not debs:
            return 1
        deb = debs[0]
        fields = subprocess.run(["dpkg-deb", "-f", deb], capture_output=True, text=True).stdout
        print(fields, flush=True)
        depends = next((line for line in fields.splitlines() if line.startswith("Depends:")), "")
        check("libsdl2-2.0-0" in depends and "libsdl2-mixer-2.0-0" in depends and "libasan" not in depends,
              "depends on the SDL2 and SDL2_mixer libraries: %s" % depends)
        check("Section: games" in fields, "in the games section")
        lines = fields.splitlines()
        at = next((i for i, line in enumerate(lines) if line.startswith("Description:")), len(lines))
        synopsis = lines[at].split(":", 1)[-1].strip() if at < len(lines) else ""
        body = []
        for line in lines[at + 1:]:
            if not line.startswith(" "):
                break
            body.append(line.strip())
        check(synopsis != "" and len(body) >= 3 and synopsis not in body[0], "a long description: %r" % body[:2])
        root = os.path.join(tmp, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        what = subprocess.run(["file", "-b", os.path.join(root, "usr/games/vesk")],
                              capture_output=True, text=True).stdout
        check("ELF" in what and ", stripped" in what, "the executable is stripped: %s" % what.strip())
        for name in ("usr/share/doc/vesk/copyright", "usr/share/doc/vesk/changelog.gz",
                     "usr/share/man/man6/vesk.6.gz", "usr/share/applications/vesk.desktop",
                     "usr/share/games/vesk/Shuffle.txt"):
            check(os.path.isfile(os.path.join(root, name)), name)
        lint = subprocess.run(["lintian", "--fail-on", "error", "--tag-display-limit", "0", deb],
                              capture_output=True, text=True, timeout=600)
        print(lint.stdout, flush=True)
        errors = [line for line in lint.stdout.splitlines() if line.startswith("E:")]
        check(lint.returncode == 0 and not errors, "lintian reports no error (%d)" % lint.returncode)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
