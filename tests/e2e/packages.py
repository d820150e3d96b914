"""End-to-end scenarios of the downloads: scripts/package makes them; Wine's
msiexec installs, upgrades and removes the installer as a user would, and the
zip is unpacked and run; scenarios.py runs them by name."""

import hashlib
import os
import re
import shutil
import signal
import struct
import subprocess
import time
import zipfile
from pathlib import Path, PureWindowsPath

import harness as h
from harness import ASYNC, WAIT, Failure
from help_and_clipboard import press, shortcut
import reading

# What a user gets, in either download; never an es.exe, which would hide the
# outside engine's own client.
SHIPPED = {"lumafind.exe", "lumafind-es.exe", "lumafind-index.exe", "start_lumafind.exe",
           "lumafind-help.html",
           "lumafind-guide.txt", "LICENSE.txt"}
# What the program makes in its folder, which no upgrade or uninstall may touch.
USER_FILES = ["lumafind.ini", "searchterms.txt", "results.txt", "exclusion.txt"]
# The installer's helper that closes the running program: in its tables, never installed.
CLOSER = "lumafind-close.exe"
# What saves cut short leave (the file's name, process id, count, ".new"), and
# names the user could have given files of their own.
SAVE_TEMPORARIES = ["lumafind.ini.4242-1.new", "lumafind.tmp.4242-2.new",
                    "searchterms.txt.77-13.new"]
NOT_TEMPORARIES = ["lumafind.ini.backup.new", "notes.new"]
TREE = {"maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
        "notes/houston.txt": (40, "2024-06-01 12:00")}
FOUND = "texas_road_map.pdf"
# A row of the list's first row in a screenshot; its empty foot is measured
# from there, above the status bar, which grows with its text.
LIST_ROW = 335
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
UNINSTALL_KEYS = [r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall",
                  r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"]


# ---- Making the packages -------------------------------------------------------------


def make_packages(session, bin_dir, version):
    """Runs scripts/package on a bin folder; returns the installer and the zip,
    checked to be named after the version and to hold the same files."""
    out = session.out / session.name / ("dist-" + version)
    shutil.rmtree(out, ignore_errors=True)
    done = subprocess.run([str(h.REPO / "scripts" / "package"), "--bin", str(bin_dir),
                           "--out", str(out)], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, timeout=300)
    if done.returncode != 0:
        raise Failure("scripts/package failed (%d): %s" % (done.returncode, done.stdout))
    made = sorted(p.name for p in out.iterdir())
    wanted = ["lumafind-%s-win64.msi" % version, "lumafind-%s-win64.zip" % version]
    if made != wanted:
        raise Failure("scripts/package made %s, expected %s" % (made, wanted))
    msi, zip_file = out / wanted[0], out / wanted[1]
    check_installer_tables(msi, version)
    with zipfile.ZipFile(zip_file) as archive:
        in_zip = {n for n in archive.namelist() if not n.endswith("/")}
    if in_zip != {"Lumafind/" + name for name in SHIPPED}:
        raise Failure("the zip holds %s, expected a folder Lumafind with %s" % (
            sorted(in_zip), sorted(SHIPPED)))
    return msi, zip_file


def msi_table(msi, table):
    """The rows of an installer table, as dictionaries by column name."""
    text = subprocess.run(["msiinfo", "export", str(msi), table], stdout=subprocess.PIPE,
                          text=True, check=True, timeout=30).stdout
    lines = text.rstrip("\r\n").split("\r\n") if "\r\n" in text else text.rstrip("\n").split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:]]


def check_installer_tables(msi, version):
    properties = {row["Property"]: row["Value"] for row in msi_table(msi, "Property")}
    if properties.get("ProductVersion") != version or properties.get("ALLUSERS"):
        raise Failure("the installer says version %r and ALLUSERS %r; expected %r and a "
                      "per-user install" % (properties.get("ProductVersion"),
                                            properties.get("ALLUSERS"), version))
    files = {row["FileName"] for row in msi_table(msi, "File")}
    if files != SHIPPED:
        raise Failure("the installer holds %s, expected %s" % (sorted(files), sorted(SHIPPED)))


def newer_bin(session):
    """The build's files with the update tests' second program, version 9.0."""
    newer = session.bin.parent / "update-test" / "lumafind.exe"
    if not newer.is_file():
        raise Failure("the Windows build made no %s" % newer)
    folder = session.out / session.name / "bin-9.0"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name in (SHIPPED | {CLOSER}) & {p.name for p in session.bin.iterdir()}:
        shutil.copy2(session.bin / name, folder / name)
    shutil.copy2(newer, folder / "lumafind.exe")
    return folder


# ---- What Windows keeps: folders, shortcuts, uninstall entries ------------------------


def registry_values(session, key, recursive=False):
    """{subkey: {name: value}} of `wine reg query`; empty when the key is missing."""
    command = ["wine", "reg", "query", key] + (["/s"] if recursive else [])
    found, current = {}, None
    for line in h.run(session, command, check=False).splitlines():
        if line.startswith("HKEY_"):
            current = found.setdefault(line.strip(), {})
        elif current is not None and "    REG_" in line:
            name, _, rest = line.strip().partition("    REG_")
            current[name] = rest.partition("    ")[2]
    return found


def linux_path(session, windows_path):
    return Path(h.run(session, ["winepath", "-u", str(windows_path)]).strip())


def shell_link(path):
    """The target, arguments and working folder of a shell link (.lnk): the link
    info's local path and the link's strings, as the format lays them out."""
    data = Path(path).read_bytes()
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 76:
        raise Failure("%s is not a shell link" % path)
    flags = struct.unpack_from("<I", data, 20)[0]
    at, target = 76, None
    if flags & 0x1:  # an item list first, which the link info repeats as a path
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 0x2:
        size, header, info_flags, _, base = struct.unpack_from("<5I", data, at)
        suffix = struct.unpack_from("<I", data, at + 24)[0]
        if info_flags & 1:
            if header >= 0x24:
                wide = struct.unpack_from("<2I", data, at + 28)
                target = (utf16_at(data, at + wide[0]) + utf16_at(data, at + wide[1]))
            else:
                target = (data[at + base:data.index(b"\0", at + base)] +
                          data[at + suffix:data.index(b"\0", at + suffix)]).decode("cp1252")
        at += size
    texts = {}
    for bit, name in [(0x4, "name"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments")]:
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            width = 2 if flags & 0x80 else 1
            raw = data[at + 2:at + 2 + count * width]
            # Wine counts the terminating NUL in, which the format leaves out.
            texts[name] = raw.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")
            at += 2 + count * width
    if target is None:
        raise Failure("%s names no local path" % path)
    return target, texts.get("arguments", ""), texts.get("folder", "")


def utf16_at(data, at):
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def places(session):
    """Where the installer must put the program and the shortcuts for this user:
    the install folder (Windows and Linux paths) and the Start-menu folder."""
    folders = registry_values(session, SHELL_FOLDERS).get(
        "HKEY_CURRENT_USER\\" + SHELL_FOLDERS.split("\\", 1)[1], {})
    if "Local AppData" not in folders or "Programs" not in folders:
        raise Failure("Wine lists no user folders: %s" % folders)
    install = PureWindowsPath(folders["Local AppData"]) / "Programs" / "Lumafind"
    return install, linux_path(session, install), linux_path(session, folders["Programs"])


def uninstall_entries(session):
    """The uninstall entries named Lumafind, from both the user's and the
    machine's list, as {key: values}."""
    entries = {}
    for key in UNINSTALL_KEYS:
        for subkey, values in registry_values(session, key, recursive=True).items():
            if values.get("DisplayName") == "Lumafind":
                entries[subkey] = values
    return entries


def versions(entries):
    return ["%s %s" % (e.get("DisplayVersion"), e.get("UninstallString")) for e in entries.values()]


def msiexec(session, *arguments, fails=False):
    """msiexec, quiet, with Wine writing no desktop files; it returns once done.
    With `fails`, it must fail instead."""
    env = dict(session.env, WINEDLLOVERRIDES=session.env["WINEDLLOVERRIDES"] +
               ";winemenubuilder.exe=d")
    done = subprocess.run(["wine"] + list(arguments) + ["/qn"], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          timeout=120)
    if fails and done.returncode == 0:
        raise Failure("%s succeeded; it should have stopped" % " ".join(arguments))
    if not fails and done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(arguments), done.returncode,
                                              done.stdout.strip()))


def remove_earlier_install(session, folder):
    """An interrupted run may have left Lumafind installed, and any run leaves the
    user's files behind on purpose: start from none."""
    for values in uninstall_entries(session).values():
        msiexec(session, *values["UninstallString"].split())
    shutil.rmtree(folder, ignore_errors=True)


def digests(folder, names):
    return {n: hashlib.sha256((folder / n).read_bytes()).hexdigest()
            for n in names if (folder / n).is_file()}


def changed(before, after):
    return sorted(n for n in set(before) | set(after) if before.get(n) != after.get(n))


# ---- The program as the user starts it ------------------------------------------------


def start_from_link(session, link, tree, version):
    """Starts the program the Start-menu shortcut points at, in the folder the
    shortcut names; returns the program's Windows path."""
    target, arguments, folder = shell_link(link)
    if arguments:
        raise Failure("the shortcut passes %r to a program that takes no arguments" % arguments)
    session.folder = linux_path(session, PureWindowsPath(target).parent)
    if PureWindowsPath(folder) != PureWindowsPath(target).parent:
        raise Failure("the shortcut starts %s in %s, not in its own folder" % (target, folder))
    start(session, tree, version, program=target)
    return target


def start(session, tree, version, program=None):
    session.log = session.out / session.name / "speech.log"
    session.log.unlink(missing_ok=True)
    session.heard = 0
    heard = h.start_program(session, [tree], program=program)
    if not heard.startswith("Welcome to Lumafind, version %s!" % version):
        raise Failure("the program greeted with %r, expected version %s" % (heard, version))
    return heard


def search_and_recolour(session):
    """A file search answered by the shipped stand-in, then the next colour scheme."""
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    h.expect(session, (ASYNC, re.compile(re.escape("Search is complete : 1 Match : " + FOUND) +
                                         "$")), timeout=60)
    h.settle(session)
    press(session, "ctrl+y", shortcut("Change Colors", "C-Y", "Black on White"))


def exit_by_esc(session):
    h.settle(session)
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"), next_line=True)
    h.wait_for_exit(session)


def ini_value(session, key):
    path = session.folder / "lumafind.ini"
    if not path.is_file():
        raise Failure("no lumafind.ini beside the program in %s" % session.folder)
    for line in path.read_bytes().decode("utf-8").split("\r\n"):
        if line.startswith(key + "="):
            return line[len(key) + 1:]
    raise Failure("lumafind.ini has no %s" % key)


def check_black_on_white(session, when):
    check_colours(session, "black on white", 0, 16777215, when)


def check_colours(session, name, foreground, background, when):
    if (ini_value(session, "FG"), ini_value(session, "BG")) != (" %d" % foreground,
                                                                 " %d" % background):
        raise Failure("%s: the INI keeps FG=%r BG=%r, not %s" % (
            when, ini_value(session, "FG"), ini_value(session, "BG"), name))


def program_process(session, program):
    """The Linux process id of the Windows program `program` (a Windows path)
    running in this session's prefix; not the desktop that started it."""
    found = []
    for pid in h.processes_running(PureWindowsPath(program).name):
        try:
            first = Path("/proc/%d/cmdline" % pid).read_bytes().split(b"\0")[0].decode()
            environ = Path("/proc/%d/environ" % pid).read_bytes().split(b"\0")
        except OSError:
            continue
        if (PureWindowsPath(first) == PureWindowsPath(program) and
                ("WINEPREFIX=%s" % session.prefix).encode() in environ):
            found.append(pid)
    if len(found) != 1:
        raise Failure("%d processes run %s in this prefix, expected one" % (len(found), program))
    return found[0]


def wait_until(what, check, timeout=20):
    deadline = time.monotonic() + timeout
    while not check():
        if time.monotonic() > deadline:
            raise Failure(what)
        time.sleep(0.2)


def check_index_started(session, install, saved):
    """The program started the stand-in's index from its own folder, and the
    index saved what it found."""
    wait_until("no lumafind-index.exe runs from %s" % install,
               lambda: program_process_count(session, install / "lumafind-index.exe") == 1)
    wait_until("the index saved nothing at %s" % saved, saved.is_file)


def program_process_count(session, program):
    try:
        program_process(session, str(program))
        return 1
    except Failure:
        return 0


def start_index(session, install, tree):
    """The index as the program leaves it running after its own end."""
    env = dict(session.env, LUMAFIND_ES_ROOTS=h.es_roots([tree]))
    subprocess.Popen(["wine", str(install / "lumafind-index.exe")], env=env,
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    wait_until("the index did not start", lambda: program_process_count(
        session, install / "lumafind-index.exe") == 1)


def closed_by_installer(session, when):
    """The running program heard the installer ask it to close, said goodbye and ended."""
    h.expect(session, (WAIT, "Exiting Lumafind"), timeout=5)
    try:
        h.wait_for_exit(session, timeout=10)
    except Failure:
        raise Failure("%s: the program was still running after msiexec returned" % when)


# ---- Scenarios -----------------------------------------------------------------------------


def msi_install_upgrade_uninstall(session):
    """The per-user installer: installed quietly into the user's own programs
    folder with Start-menu shortcuts to the program and the guide and one
    uninstall entry; the program
    started from the shortcut searches with the shipped stand-in and keeps a
    changed setting beside itself; a newer package keeps settings, history,
    result and exclusions; uninstalling after a self-update removes the program
    files, the previous program and the shortcuts, and leaves the user's files."""
    if shutil.which("wixl") is None or shutil.which("msiinfo") is None:
        raise Failure("wixl and msitools are needed (scripts/setup installs them)")
    old_msi, _ = make_packages(session, session.bin, "4.43")
    newer = newer_bin(session)
    new_msi, _ = make_packages(session, newer, "9.0")
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    install, folder, start_menu = places(session)
    link, guide_link = start_menu / "Lumafind.lnk", start_menu / "Lumafind guide.lnk"
    remove_earlier_install(session, folder)

    msiexec(session, "msiexec", "/i", h.z_path(old_msi))
    installed = sorted(p.name for p in folder.iterdir()) if folder.is_dir() else []
    if installed != sorted(SHIPPED):
        raise Failure("the install folder %s holds %s" % (install, installed))
    entries = uninstall_entries(session)
    if [e.get("DisplayVersion") for e in entries.values()] != ["4.43"]:
        raise Failure("uninstall entries after the install: %s" % versions(entries))
    if not link.is_file() or not guide_link.is_file():
        raise Failure("no Start-menu shortcuts at %s" % start_menu)
    if PureWindowsPath(shell_link(guide_link)[0]) != install / "lumafind-guide.txt":
        raise Failure("the guide's shortcut points at %s" % shell_link(guide_link)[0])
    target = start_from_link(session, link, tree, "4.43")
    if PureWindowsPath(target) != install / "lumafind.exe":
        raise Failure("the shortcut points at %s, not into %s" % (target, install))
    search_and_recolour(session)
    exit_by_esc(session)
    check_black_on_white(session, "after the first start")
    (folder / "exclusion.txt").write_bytes(b"C:\\nowhere\\\r\n")
    kept = digests(folder, USER_FILES)
    if sorted(kept) != sorted(USER_FILES):
        raise Failure("the program left only %s in its folder" % sorted(kept))

    msiexec(session, "msiexec", "/i", h.z_path(new_msi))
    if changed(kept, digests(folder, USER_FILES)):
        raise Failure("the upgrade changed or removed the user's %s" % changed(
            kept, digests(folder, USER_FILES)))
    entries = uninstall_entries(session)
    if [e.get("DisplayVersion") for e in entries.values()] != ["9.0"]:
        raise Failure("uninstall entries after the upgrade: %s" % versions(entries))
    start_from_link(session, link, tree, "9.0")
    saved = folder.parent.parent / "Lumafind" / "index.bin"
    check_index_started(session, install, saved)
    h.settle(session)
    picture = h.screenshot(session, "msi_install_upgrade_uninstall")
    if h.colours(picture, *reading.list_background(picture, LIST_ROW)) != {"#FFFFFF"}:
        raise Failure("%s: the upgraded program does not show the white background" % picture)
    exit_by_esc(session)
    check_black_on_white(session, "after the upgrade")

    # What the online update leaves: the program renamed aside, a new one in its place,
    # and, after an update cut off midway, the program before that.
    (folder / "lumafind.exe").rename(folder / "lumafind.old")
    shutil.copy2(newer / "lumafind.exe", folder / "lumafind.exe")
    shutil.copy2(newer / "lumafind.exe", folder / "lumafind.older")
    kept = digests(folder, USER_FILES)
    start_index(session, install, tree)
    (uninstall,) = entries.values()
    msiexec(session, *uninstall["UninstallString"].split())
    if h.session_processes(session, "lumafind-index.exe") or saved.parent.exists():
        raise Failure("after uninstalling, the index still runs (%s) or its folder %s is there"
                      % (h.session_processes(session, "lumafind-index.exe"), saved.parent))
    left = sorted(p.name for p in folder.iterdir()) if folder.exists() else []
    if left != sorted(USER_FILES) or changed(kept, digests(folder, USER_FILES)):
        raise Failure("after uninstalling, the folder holds %s; expected the user's "
                      "files alone, unchanged" % left)
    shortcuts = [p.name for p in (link, guide_link) if p.exists()]
    if shortcuts or uninstall_entries(session):
        raise Failure("after uninstalling, the shortcuts %s or the uninstall entries %s are "
                      "still there" % (shortcuts, versions(uninstall_entries(session))))
    shutil.rmtree(folder)
    print("  installed into %s, shortcuts in %s; uninstalling left %s" % (install, start_menu,
                                                                      left))


def msi_while_running(session):
    """The installer with the program running from the install folder: an
    upgrade asks it to close, it saves its settings and ends, and the new
    version's files and entry follow; a program that does not end stops the
    uninstall before anything is changed; an uninstall closes it the same way,
    removes its files, its entry and the temporaries of saves cut short, and
    leaves the user's files."""
    if shutil.which("wixl") is None or shutil.which("msiinfo") is None:
        raise Failure("wixl and msitools are needed (scripts/setup installs them)")
    old_msi, _ = make_packages(session, session.bin, "4.43")
    newer = newer_bin(session)
    new_msi, _ = make_packages(session, newer, "9.0")
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    install, folder, start_menu = places(session)
    link = start_menu / "Lumafind.lnk"
    remove_earlier_install(session, folder)

    msiexec(session, "msiexec", "/i", h.z_path(old_msi))
    program = start_from_link(session, link, tree, "4.43")
    press(session, "ctrl+y", shortcut("Change Colors", "C-Y", "Black on White"))
    h.settle(session)
    (folder / "exclusion.txt").write_bytes(b"C:\\nowhere\\\r\n")
    exclusions = digests(folder, ["exclusion.txt"])
    started = time.monotonic()
    msiexec(session, "msiexec", "/i", h.z_path(new_msi))
    upgrade_took = time.monotonic() - started
    closed_by_installer(session, "upgrading")
    check_black_on_white(session, "after the upgrade closed the program")
    entries = uninstall_entries(session)
    if [e.get("DisplayVersion") for e in entries.values()] != ["9.0"]:
        raise Failure("uninstall entries after the upgrade: %s" % versions(entries))
    made = {"lumafind.ini", "exclusion.txt"}
    present = {p.name for p in folder.iterdir()}
    if not SHIPPED | made <= present <= SHIPPED | set(USER_FILES):
        raise Failure("after the upgrade the folder holds %s" % sorted(present))
    programs = ["lumafind.exe", "lumafind-es.exe", "start_lumafind.exe"]
    if changed(digests(newer, programs), digests(folder, programs)):
        raise Failure("after the upgrade %s are not the new version's" % changed(
            digests(newer, programs), digests(folder, programs)))
    if changed(exclusions, digests(folder, ["exclusion.txt"])):
        raise Failure("the upgrade changed the user's exclusion.txt")

    # A program that does not answer (stopped, as a hung one would be): the
    # uninstall waits for it, then stops with every file and the entry in place.
    start_from_link(session, link, tree, "9.0")
    for name in SAVE_TEMPORARIES + NOT_TEMPORARIES:
        (folder / name).write_bytes(b"x")
    before = digests(folder, sorted(p.name for p in folder.iterdir()))
    (uninstall,) = entries.values()
    frozen = program_process(session, program)
    os.kill(frozen, signal.SIGSTOP)
    try:
        started = time.monotonic()
        msiexec(session, *uninstall["UninstallString"].split(), fails=True)
        refusal_took = time.monotonic() - started
    finally:
        os.kill(frozen, signal.SIGCONT)
    if changed(before, digests(folder, sorted(p.name for p in folder.iterdir()))):
        raise Failure("the refused uninstall changed %s" % changed(
            before, digests(folder, sorted(p.name for p in folder.iterdir()))))
    if list(uninstall_entries(session)) != list(entries):
        raise Failure("the refused uninstall left the entries %s" % versions(
            uninstall_entries(session)))
    # Woken, it finds the installer's request waiting and closes.
    closed_by_installer(session, "after the refused uninstall")

    start_from_link(session, link, tree, "9.0")
    press(session, "ctrl+y", shortcut("Change Colors", "C-Y", "White on Black"))
    h.settle(session)
    started = time.monotonic()
    msiexec(session, *uninstall["UninstallString"].split())
    uninstall_took = time.monotonic() - started
    closed_by_installer(session, "uninstalling")
    check_colours(session, "white on black", 16777215, 0, "after the uninstall closed the "
                  "program")
    left = {p.name for p in folder.iterdir()} if folder.exists() else set()
    if not made | set(NOT_TEMPORARIES) <= left <= set(USER_FILES + NOT_TEMPORARIES):
        raise Failure("after uninstalling, the folder holds %s; expected the user's files "
                      "alone" % sorted(left))
    if changed(exclusions, digests(folder, ["exclusion.txt"])):
        raise Failure("the uninstall changed the user's exclusion.txt")
    if link.exists() or uninstall_entries(session):
        raise Failure("after uninstalling, the shortcut or the uninstall entries %s are "
                      "still there" % versions(uninstall_entries(session)))
    shutil.rmtree(folder)
    print("  upgrade with the program running %.1f s, refused uninstall %.1f s, uninstall "
          "%.1f s; left %s" % (upgrade_took, refusal_took, uninstall_took, sorted(left)))


def zip_start(session):
    """The zip unpacked into a folder with a blank in its name: the program
    starts from there, searches with the shipped stand-in and keeps a changed
    setting in the INI beside it."""
    _, zip_file = make_packages(session, session.bin, "4.43")
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    unpacked = session.out / session.name / "My Programs"
    shutil.rmtree(unpacked, ignore_errors=True)
    with zipfile.ZipFile(zip_file) as archive:
        archive.extractall(unpacked)
    session.folder = unpacked / "Lumafind"
    start(session, tree, "4.43")
    search_and_recolour(session)
    h.settle(session)
    h.screenshot(session, "zip_start")
    exit_by_esc(session)
    check_black_on_white(session, "after a start from the zip")
    made = sorted(p.name for p in session.folder.iterdir() if p.name not in SHIPPED)
    if made != ["lumafind.ini", "results.txt", "searchterms.txt"]:
        raise Failure("the program made %s beside itself" % made)


# Installing changes the prefix (files, registry): the installer has one of its own.
msi_install_upgrade_uninstall.prefix = "wineprefix-packages"
msi_while_running.prefix = "wineprefix-packages"
SCENARIOS = {"msi_install_upgrade_uninstall": msi_install_upgrade_uninstall,
             "msi_while_running": msi_while_running,
             "zip_start": zip_start}
