#!/usr/bin/env python3
"""The layers of src/: which folder may include which, and where Qt may not go.

Every include of our own is written from src/ ("lookup/Lookup.h"), so the folder of each
include is plain to see; this is the one list of the arrows the build's targets follow.
Usage: layers_test.py SOURCE_DIR
"""
import pathlib
import re
import sys

# A folder, and the folders it may include besides itself.
ALLOWED = {
    "codepage": set(),
    "codepage/icu": {"codepage"},
    "codepage/windows": {"codepage"},
    "lookup": {"codepage"},
    "lookup/icu": {"lookup"},
    "lookup/posix": {"lookup"},
    "lookup/windows": {"lookup"},
    "platform": set(),
    "platform/linux": {"platform", "codepage"},
    "platform/windows": {"platform"},
    "common": {"platform"},
    "speech": {"common", "platform"},
    "mainwin": {"common", "speech", "lookup", "platform"},
    "tray": {"common", "codepage", "platform"},
    "about": {"common", "codepage", "platform"},
    "app": {"mainwin", "tray", "about", "speech", "common", "lookup", "platform", "platform/linux"},
    "generators": {"codepage", "codepage/icu"},
    # The Win32 front end: the windows' behaviours, drawn by native windows.
    "win32": {"mainwin", "tray", "about", "speech", "common", "lookup", "platform", "platform/windows"},
}
# Files that build without Qt, whatever their folder may include.
NO_QT = ["codepage/", "lookup/", "tray/Tray.", "platform/ProgramFolder.", "platform/linux/ProgramFolder.",
         "platform/StandardStreams.", "platform/linux/StandardStreams.", "platform/windows/", "win32/",
         "generators/Big5TableGenerator.", "generators/IrregularFormsGenerator.",
         # What each window does, and what those behaviours stand on.
         "platform/Desktop.", "platform/Registry.", "common/WindowView.", "common/KeyCodes.",
         "about/AboutBehaviour.", "about/SysInfo.", "about/AboutTexts.", "speech/HelpBehaviour.",
         "speech/HelpTexts.",
         "tray/TrayBehaviour.", "common/ProgramCalls.", "common/TwipsPerPixel.", "common/AccessibleNames.",
         "mainwin/MainBehaviour.", "mainwin/PictureRegion.", "speech/Pronunciation.", "platform/SpeechEngine.",
         "platform/SingleInstance.", "platform/GlobalHotkey.", "platform/DesktopSelection."]

OWN = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SYSTEM = re.compile(r"^\s*#\s*include\s+<(Q\w*)", re.M)


def main(source_dir):
    src = pathlib.Path(source_dir) / "src"
    faults = []
    files = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp"))
    for path in files:
        name = path.relative_to(src).as_posix()
        folder = path.parent.relative_to(src).as_posix()
        text = path.read_text(encoding="utf-8")
        for include in OWN.findall(text):
            target = pathlib.PurePosixPath(include).parent.as_posix()
            if target == ".":
                faults.append(f"{name}: \"{include}\" is not written from src/")
            elif not (src / include).exists():
                faults.append(f"{name}: \"{include}\" is no file under src/")
            elif target != folder and target not in ALLOWED.get(folder, set()):
                faults.append(f"{name}: {folder}/ may not include {target}/ (\"{include}\")")
        if any(name.startswith(prefix) for prefix in NO_QT):
            for header in SYSTEM.findall(text):
                faults.append(f"{name}: builds without Qt, yet includes <{header}>")
    for fault in faults:
        print(fault)
    print(f"{len(files)} files read, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
