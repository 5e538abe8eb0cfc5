#!/usr/bin/env python3
"""Counts the GoogleTest cases of the suites CTest ran in the given build folders.

Each suite writes --gtest_output=xml:<file>; the files named there are read,
so a new suite is counted without changes here. A suite whose file is
missing (it crashed, hung or never built) counts as one failed case.
Prints what failed, then "<passed> <failed>" as the last line.
"""
import json
import subprocess
import sys
import xml.etree.ElementTree as ET

XML_FLAG = "--gtest_output=xml:"


def result_files(build_dir):
    listing = subprocess.run(
        ["ctest", "--test-dir", build_dir, "--show-only=json-v1"],
        check=True, capture_output=True, text=True).stdout
    for test in json.loads(listing).get("tests", []):
        for arg in test.get("command", []):
            if arg.startswith(XML_FLAG):
                path = arg[len(XML_FLAG):]
                # A path handed to a program under Wine carries the drive Z:.
                if path[1:3] == ":/":
                    path = path[2:]
                yield test["name"], path


def count(name, path):
    root = ET.parse(path).getroot()
    passed = failed = 0
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            print(f"FAILED {name}: {case.get('classname')}.{case.get('name')}")
        elif case.get("status") == "run" and case.get("result", "completed") == "completed":
            passed += 1
    return passed, failed


def main(build_dirs):
    passed = failed = 0
    for build_dir in build_dirs:
        try:
            files = list(result_files(build_dir))
        except (subprocess.CalledProcessError, json.JSONDecodeError, OSError):
            files = []
        if not files:
            print(f"FAILED {build_dir}: no test suites (configure failed?)")
            failed += 1
            continue
        for name, path in files:
            try:
                p, f = count(name, path)
            except (OSError, ET.ParseError):
                print(f"FAILED {build_dir}/{name}: no readable results in {path}")
                p, f = 0, 1
            print(f"{build_dir}/{name}: {p} passed, {f} failed")
            passed += p
            failed += f
    print(passed, failed)


if __name__ == "__main__":
    main(sys.argv[1:])
