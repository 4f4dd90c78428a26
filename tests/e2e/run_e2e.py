#!/usr/bin/python3
"""End-to-end scenarios of the launcher: the real Teleskarn.exe under Wine, seen from the outside.

Each scenario copies the launcher (and, where it matters, the stub support program) into a folder of
its own under the build tree (visible to Wine as drive Z:), starts it with the scenario's LC_ALL
through scripts/wine-exec.sh, and works it with e2e_driver.exe (a Windows program of ours that finds
the dialog and the message box and presses buttons and keys) or with real X input (xdotool). It then
asserts on what the driver reported, on the stub's record and on the processes that ran.

Usage (CTest passes the paths; the Wine environment must be up, see scripts/wine-env.sh):
  run_e2e.py --wine-env DIR --wine-exec scripts/wine-exec.sh --launcher Teleskarn.exe \\
             --stub Teleskarn-pqrw7kt3mz.exe --driver e2e_driver.exe \\
             --registry-file tests/wine/rfc1766.reg --work DIR [--planted DIR]  GROUP... [-k PATTERN]
Groups: languages, launch, close, registry, input, look, planting (needs --planted: the folder of
the planted version.dll and comctl32.dll), gallery (needs --gallery: Gallery.exe). E2E_KEEP=1 keeps the scenario folders; a
failing scenario always keeps its folder (its path is in the failure message).
"""
import argparse
import collections
import ctypes
import json
import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import unittest

LAUNCHER_NAME = "Teleskarn.exe"
STUB_NAME = "Teleskarn-pqrw7kt3mz.exe"
RECORD_NAME = "stub-record.txt"
MESSAGE_BOX_CAPTION = "Teleskarn"  # the application title: the launcher's file name
HELP_PROGRAMS = ("winhlp32.exe", "hh.exe")

# Generous limits: a launcher starting beside several others on two busy cores can take seconds,
# and a Wine program needs about 2 s to end after its last window has gone.
START_TIMEOUT_MS = 45000
EXIT_TIMEOUT_MS = 30000

Row = collections.namedtuple(
    "Row", "headText introText instructionText liabilityText captionText okText cancelText errorPrefix")

# What the dialog must show, as Windows-1252 bytes, written down here independently of the
# launcher's own table.
EXPECTED = {
    "de": Row(
        headText=b"ACHTUNG",
        introText=b"Sie aktivieren jetzt die Teleskarn Funktion.",
        instructionText=b"Zur Vermeidung von Fehlfunktionen und m\xf6glichen Gef\xe4hrdungen f\xfcr Personen, "
        b"Pr\xfcfger\xe4ten und Fahrzeug folgen Sie bitte unbedingt den Anweisungen des Hotline Mitarbeiters.\n"
        b"F\xfchren Sie daher nach Aktivierung keine T\xe4tigkeiten mehr am Diagnosesystem oder Fahrzeug durch, "
        b"ohne dass Sie diese zuvor mit dem Hotline Mitarbeiter abgesprochen haben. Dies gilt insbesondere bei "
        b"Nutzung der Distavis Dienstleistung.",
        liabilityText=b"Keine Haftung f\xfcr Personen Verm\xf6gens- und Sachsch\xe4den durch die Quenbrak GmbH.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Abbrechen",
        errorPrefix=b"Fehler\nDatei nicht gefunden: ",
    ),
    "en": Row(
        headText=b"ATTENTION",
        introText=b"You are now activating the remote support function.",
        instructionText=b"Please make sure you follow the instructions of the hotline agent closely to prevent "
        b"any malfunctions and dangers for individuals, diagnostics system, and vehicles.\nAfter activating the "
        b"remote support function please do not work with the diagnostics system or on the car without prior "
        b"approval by the hotline agent. This especially applies when using the Distavis service.",
        liabilityText=b"No liability by Quenbrak GmbH for personal injuries, financial losses or property damages.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Cancel",
        errorPrefix=b"Error\nFile not found: ",
    ),
    "da": Row(
        headText=b"OBS..!",
        introText=b"Du er nu ved at aktivere Teleskarn via fjernopkobling.",
        instructionText=b"V\xe6r venligst opm\xe6rksom p\xe5 at f\xf8lge instruktionerne fra din hotline agent "
        b"omhyggeligt for at sikre en problemfri, sikker og forsvarlig session.\n\nEfter aktivering af "
        b"fjernopkoblingen m\xe5 PC / tester og evt. bil ikke betjenes uden tydelig tilkendegivelse fra din "
        b"hotline agent.",
        liabilityText=b"Quenbrak A/S fraskriver sig ethvert ansvar ved personskade, finansielt tab og/eller "
        b"produktskade.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Cancel",
        errorPrefix=b"Error\nFile not found: ",
    ),
    "it": Row(
        headText=b"Attenzione",
        introText=b"State attivando la funzione di supporto remoto.",
        instructionText=b"Assicuratevi di seguire attentamente le istruzioni dell'operatore del servizio di "
        b"assistenza hotline, per evitare malfunzionamenti ovvero pericoli per le persone, il sistema di diagnosi "
        b"ed i veicoli. Dopo aver attivato la funzione di supporto remoto siete pregati di non operare sul sistema "
        b"di diagnosi o sulla vettura senza previa autorizzazione da parte dell'operatore del servizio di "
        b"assistenza hotline. Quanto sopra soprattutto nel caso di utilizzo del servizio di Distavis.",
        liabilityText=b"Quenbrak S.p.A. Societ\xe0 Unipersonale esclude qualsiasi responsabilit\xe0 per danni "
        b"personali, perdite economiche o danni alle cose. ",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Annulla",
        errorPrefix=b"Error\nFile not found: ",
    ),
    "fi": Row(
        headText=b"Varoitus",
        introText=b"Olet aktivoimassa et\xe4tukitoimintoa (Quenbrak Teleskarn).",
        instructionText=b"Seuraa tukihenkil\xf6n ohjeita tarkasti v\xe4ltty\xe4ksesi henkil\xf6-, ajoneuvo- tai "
        b"testauslaitevahingoilta. Tukitoiminnon ollessa aktivoituna, mit\xe4\xe4n toimenpiteit\xe4 ajoneuvon tai "
        b"testilaitteen kanssa ei saa suorittaa ilman tukihenkil\xf6n lupaa. T\xe4m\xe4 on erityisen t\xe4rke\xe4\xe4 "
        b"ajoneuvon et\xe4diagnoosin yhteydess\xe4.",
        liabilityText=b"Quenbrak Oy ei vastaa mahdollisista henkil\xf6- tai materiaalivahingoista.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Keskeyt\xe4",
        errorPrefix=b"Error\nFile not found: ",
    ),
    "no": Row(
        headText=b"Advarsel",
        introText=b"Du aktiverer n\xe5 fjernhjelpfunksjonen.",
        instructionText=b"Vennligst sikre deg at du f\xf8lger alle instruksjoner du mottar fra hotline-agenten for "
        b"\xe5 unng\xe5 feilfunksjoner og risiko for skade p\xe5 individer, diagnosesystemer og kj\xf8ret\xf8y.\n"
        b"Etter aktivering av fjernhjelpfunksjonen m\xe5 du ikke arbeide med diagnosesystemet eller p\xe5 "
        b"kj\xf8ret\xf8yet uten f\xf8rst \xe5 ha f\xe5tt tillatelse til dette fra hotline-agenten. Dette gjelder "
        b"spesielt hvis Distavis service benyttes.",
        liabilityText=b"Quenbrak GmbH tar ikke ansvar for personskader, finansielle tap eller materielle skader.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Avbryt",
        errorPrefix=b"Error\nFile not found: ",
    ),
    "sv": Row(
        headText=b"Varning",
        introText=b"Du aktiverar nu Teleskarn Funktionen.",
        instructionText=b"F\xf6lj hotline-agentens anvisningar noggrant f\xf6r att f\xf6rhindra personskador och "
        b"skador p\xe5 diagnosutrustning och fordon.\nN\xe4r funktionen \xe4r aktiverad f\xe5r inget arbete "
        b"g\xf6ras med diagnosutrustningen eller p\xe5 bilen utan tillst\xe5nd fr\xe5n hotline-agenten.\n"
        b"Detta \xe4r speciellt viktigt n\xe4r Distavis anv\xe4nds.",
        liabilityText=b"Quenbrak AB ansvarar inte f\xf6r personskador och materiella skador.",
        captionText=b"Quenbrak Teleskarn",
        okText=b"OK",
        cancelText=b"Avbryt",
        errorPrefix=b"Error\nFile not found: ",
    ),
}

CONFIG = None  # the parsed command line


# ---- environment helpers -------------------------------------------------------------------------

def win_path(unix_path):
    """The path under which Wine's programs see a file of the build tree (drive Z: is /)."""
    return "Z:" + os.path.realpath(unix_path).replace("/", "\\")


def poll(predicate, timeout_s, interval_s=0.05):
    """Asks predicate until it answers something true or the time is up; returns its last answer."""
    deadline = time.monotonic() + timeout_s
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval_s)


class AwaitedProgramEnded(Exception):
    """The program whose window a driver waited for ended first."""


def wine_run(args, timeout_s=60, env=None, awaited=None):
    """Runs a Windows program in the test environment; returns (exit code, stdout, stderr).

    The output goes through files, never pipes: a Wine program that happens to be the first GUI
    program of the session starts the desktop process (explorer.exe), which inherits its standard
    handles and lives on, so a pipe would never see its end. With awaited (the Popen of a program
    the one run waits for), the run is cut short should that program end first."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen([CONFIG.wine_exec, CONFIG.wine_env] + list(args), stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=err, env=env)
        deadline = time.monotonic() + timeout_s
        try:
            while True:
                try:
                    code = process.wait(timeout=0.05 if awaited else timeout_s)
                    break
                except subprocess.TimeoutExpired:
                    if awaited is not None and awaited.poll() is not None:
                        raise AwaitedProgramEnded()
                    if time.monotonic() >= deadline:
                        raise AssertionError("%s did not end within %d s" % (" ".join(map(str, args)), timeout_s))
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


# The driver's subcommands that only look. Now and then a driver run ends at once with exit code 1
# and no output at all, not even from Wine, as another program of the session starts or ends (seen on
# wait-dialog just after a launcher's start and on procs as the stub ended, about once in 10,000
# runs): such a run of a looking subcommand is made once more, so that a wait does not fail on it.
LOOKING = ("wait-dialog", "wait-msgbox", "info", "ncpoint", "windows", "procs", "watch", "locale")


def driver(*args, lc_all=None, timeout_s=120, awaited=None, **locale):
    """One driver subcommand; returns its JSON report."""
    env = dict(os.environ, **locale)
    if lc_all is not None:
        env["LC_ALL"] = lc_all
    command = [CONFIG.driver] + [str(a) for a in args]
    for attempt in (1, 2):
        began = time.monotonic()
        code, out, err = wine_run(command, timeout_s=timeout_s, env=env, awaited=awaited)
        if os.environ.get("E2E_TRACE"):
            print("  driver %s: %.2f s" % (args[0], time.monotonic() - began), file=sys.stderr)
        lines = [l for l in out.decode("utf-8", "replace").splitlines() if l.strip()]
        if lines or err.strip() or args[0] not in LOOKING or attempt == 2:
            break
        print("driver %s ended with %d and no output; run again" % (" ".join(map(str, args)), code), file=sys.stderr)
    try:
        return json.loads(lines[-1])
    except (IndexError, ValueError):
        raise AssertionError("driver %s gave no report (exit %d)\nstdout: %r\nstderr: %s" % (
            " ".join(map(str, args)), code, out, err.decode("utf-8", "replace")))


def x_display():
    """The X display of the Wine environment (from the exports that wine-env.sh wrote)."""
    with open(os.path.join(CONFIG.wine_env, "env")) as f:
        for line in f:
            if line.startswith("export DISPLAY="):
                return line.strip().split("=", 1)[1]
    raise AssertionError("no DISPLAY in the Wine environment")


def xdotool(*args):
    env = dict(os.environ, DISPLAY=x_display())
    done = subprocess.run(["xdotool"] + [str(a) for a in args], env=env, capture_output=True, timeout=30)
    if done.returncode != 0:
        raise AssertionError("xdotool %s failed: %s" % (" ".join(map(str, args)), done.stderr.decode()))


def text(report):
    """The Windows-1252 bytes of a text in a driver report."""
    if report.get("lossy"):
        raise AssertionError("text has characters outside Windows-1252: %r" % report.get("utf8"))
    return bytes.fromhex(report["hex"])


def dialog_texts(dialog):
    controls = dialog["controls"]

    def control(cid):
        c = controls[str(cid)]
        return text(c["text"]) if c["exists"] else None

    return {"caption": text(dialog["caption"]), "OK (1)": control(1), "Cancel (2)": control(2),
            "head (1000)": control(1000), "intro (1001)": control(1001),
            "instructions (1002)": control(1002), "liability (1003)": control(1003)}


def expected_texts(code):
    row = EXPECTED[code]
    return {"caption": row.captionText, "OK (1)": row.okText, "Cancel (2)": row.cancelText,
            "head (1000)": row.headText, "intro (1001)": row.introText,
            "instructions (1002)": row.instructionText, "liability (1003)": row.liabilityText}


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


# ---- one scenario: a folder, a launcher process, the stub's record -----------------------------------

class Scenario:
    """A launcher copied into a folder of its own, started with one LC_ALL."""

    def __init__(self, name, stub=False, linger_ms=None, lc_all="en_US.UTF-8", folder=None, exe=LAUNCHER_NAME):
        os.makedirs(CONFIG.work, exist_ok=True)
        self.name = name
        self.lc_all = lc_all
        self.dir = os.path.realpath(tempfile.mkdtemp(prefix=name + "-", dir=CONFIG.work))
        if folder:  # the launcher's folder by that name, inside the scenario's own
            self.dir = os.path.join(self.dir, folder)
            os.mkdir(self.dir)
        # The launcher runs with a working directory apart from its own folder, so the tool's
        # inherited working directory can be told from the folder it lies in.
        self.cwd = os.path.join(self.dir, "cwd")
        os.mkdir(self.cwd)
        self.exe = os.path.join(self.dir, exe)
        shutil.copy2(CONFIG.launcher, self.exe)
        if stub:
            shutil.copy2(CONFIG.stub, os.path.join(self.dir, STUB_NAME))
        if linger_ms:
            with open(os.path.join(self.dir, "stub-linger-ms.txt"), "w") as f:
                f.write(str(linger_ms))
        self.exe_win = win_path(self.exe)
        self.stub_win = win_path(self.dir) + "\\" + STUB_NAME  # where the launcher must look
        self.process = None
        self.log = None

    def start(self, by_windows_path=False, **env):
        env = dict(os.environ, LC_ALL=self.lc_all, **env)
        self.log = open(os.path.join(self.dir, "launcher.log"), "wb")
        # Never a pipe: a Wine program's output may be held open by processes it starts. Wine opens
        # a Linux path with characters beyond ASCII only under some locales; a Windows path always.
        exe = self.exe_win if by_windows_path else self.exe
        self.process = subprocess.Popen([CONFIG.wine_exec, CONFIG.wine_env, exe], cwd=self.cwd, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT)
        return self

    def wait_window(self, command, timeout_ms):
        """wait-dialog or wait-msgbox for this launcher; fails at once should the launcher end first
        (a crash: Wine names the exception in the launcher's output)."""
        try:
            return driver(command, "--exe", self.exe_win, "--timeout", timeout_ms, awaited=self.process)
        except AwaitedProgramEnded:
            self.log.flush()
            with open(self.log.name, "rb") as f:
                output = f.read().decode("utf-8", "replace")
            raise AssertionError("%s: the launcher %s during %s; its output:\n%s\n%s" % (
                self.name, self.state(), command, output, self.describe()))

    def wait_dialog(self, timeout_ms=START_TIMEOUT_MS):
        report = self.wait_window("wait-dialog", timeout_ms)
        if not report.get("ok"):
            raise AssertionError("%s: the dialog did not come up: %s (launcher %s)\n%s" % (
                self.name, json.dumps(report), self.state(), self.describe()))
        return report

    def state(self):
        if self.process is None:
            return "not started"
        code = self.process.poll()
        return "running" if code is None else "ended with %d" % code

    def watch_exit(self, timeout_ms=EXIT_TIMEOUT_MS):
        """Waits for the launcher to end; returns every top-level window it showed meanwhile."""
        report = driver("watch", "--exe", self.exe_win, "--timeout", timeout_ms)
        if not report.get("ok"):
            raise AssertionError("%s: the launcher did not end within %d ms; windows: %s\n%s" % (
                self.name, timeout_ms, json.dumps(report.get("windows")), self.describe()))
        self.process.wait(timeout=30)
        return report["windows"]

    def record(self):
        path = os.path.join(self.dir, RECORD_NAME)
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [json.loads(l) for l in f if l.strip()]

    def starts(self):
        return [r for r in self.record() if r["event"] == "start"]

    def stub_processes(self):
        return driver("procs", "--exe", self.stub_win)["procs"]

    def release_stub(self):
        open(os.path.join(self.dir, "stub-release"), "w").close()

    def describe(self):
        return "scenario folder: %s" % self.dir

    def end(self):
        """Leaves nothing running, whatever state the scenario stopped in."""
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        if self.log:
            self.log.close()
        if os.path.exists(os.path.join(self.dir, STUB_NAME)):
            self.release_stub()
            poll(lambda: not self.stub_processes(), 15, 0.2)


class E2ETestCase(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self._scenarios = []

    def scenario(self, name, **kwargs):
        s = Scenario(name, **kwargs)
        self._scenarios.append(s)
        self.addCleanup(s.end)
        return s

    def run(self, result=None):
        # A scenario's folder goes when the test passed; it stays for a look when it failed.
        result = result if result is not None else self.defaultTestResult()
        problems = len(result.failures) + len(result.errors)
        super().run(result)
        if len(result.failures) + len(result.errors) == problems and not os.environ.get("E2E_KEEP"):
            for s in getattr(self, "_scenarios", []):
                shutil.rmtree(s.dir, ignore_errors=True)
        return result

    # -- shared checks --

    def assertTexts(self, dialog, code, scenario):
        got = dialog_texts(dialog)
        want = expected_texts(code)
        if got != want:
            locale = driver("locale", lc_all=scenario.lc_all)
            self.assertEqual(want, got, "%s: not the '%s' texts (the driver's own locale under LC_ALL=%s: %s)\n%s"
                             % (scenario.name, code, scenario.lc_all, json.dumps(locale), scenario.describe()))

    def assertNoMessageBox(self, windows, scenario):
        boxes = [w for w in windows if w["msgbox"]]
        self.assertEqual([], boxes, "%s: unexpected message box\n%s" % (scenario.name, scenario.describe()))

    def assertNothingStarted(self, scenario):
        # The tool, had it been started, would either still run or have written its record.
        self.assertEqual([], scenario.record(), "%s: the support tool was started" % scenario.name)
        running = driver("procs", "--exe", scenario.stub_win, "--name", "|".join(HELP_PROGRAMS))["procs"]
        self.assertEqual([], running, "%s: the support tool or a help program runs" % scenario.name)

    def assertStartedOnceWithoutArguments(self, scenario, timeout_s=30):
        starts = poll(scenario.starts, timeout_s)
        self.assertEqual(1, len(starts), "%s: the support tool was not started exactly once: %s\n%s"
                         % (scenario.name, scenario.record(), scenario.describe()))
        self.assertEqual([], starts[0]["args"], "%s: the tool got arguments; command line %r"
                         % (scenario.name, starts[0]["cmdline"]))
        return starts[0]

    def assertMissingToolReported(self, scenario, code, dialog, text_utf8=None, caption=MESSAGE_BOX_CAPTION):
        box = scenario.wait_window("wait-msgbox", EXIT_TIMEOUT_MS)
        self.assertTrue(box.get("ok"), "%s: no message box: %s\n%s" % (scenario.name, json.dumps(box),
                                                                       scenario.describe()))
        self.assertEqual(1, box["count"], "%s: more than one message box at once" % scenario.name)
        self.assertEqual(caption, box["caption"]["utf8"])
        # The path as it is, whatever the code pages: read in UTF-16, compared as characters.
        self.assertEqual(text_utf8 or EXPECTED[code].errorPrefix.decode("cp1252") + scenario.stub_win,
                         box["text"]["utf8"])
        self.assertEqual([(1, b"OK")], [(b["id"], text(b["text"])) for b in box["buttons"] if b["visible"]],
                         "%s: the box should have one OK button" % scenario.name)
        self.assertEqual(dialog["hwnd"], box["owner"], "%s: the box should be owned by the dialog" % scenario.name)
        # Dismiss it; the launcher must then end without any further box.
        self.assertTrue(driver("click", "--hwnd", box["hwnd"], "--id", 1)["ok"])
        windows = scenario.watch_exit()
        later = [w for w in windows if w["msgbox"] and w["hwnd"] != box["hwnd"]]
        self.assertEqual([], later, "%s: a second message box appeared" % scenario.name)
        self.assertNothingStarted(scenario)


# ---- group "languages": which texts the dialog shows for a locale --------------------------------------

# LC_ALL, the language identifier Wine derives from it, and the row the dialog must show.
LANGUAGE_CASES = [
    ("de_DE.UTF-8", "0407", "de"),
    ("en_US.UTF-8", "0409", "en"),
    ("da_DK.UTF-8", "0406", "da"),
    ("it_IT.UTF-8", "0410", "it"),
    ("fi_FI.UTF-8", "040b", "fi"),
    ("nb_NO.UTF-8", "0414", "no"),
    ("sv_SE.UTF-8", "041d", "sv"),
    ("fr_FR.UTF-8", "040c", "en"),  # "fr" has no row: English
    ("de_CH.UTF-8", "0807", "de"),  # "de-ch": only the first two letters count
    ("pt_BR.UTF-8", "0416", "en"),  # no value for 0416 in the table: empty code, English
]


class LanguageTests(E2ETestCase):
    """All launchers start at once (they run side by side without trouble), then each is checked."""

    started = {}
    failed = False

    @classmethod
    def setUpClass(cls):
        cls.started = {}
        cls.failed = False
        for lc_all, _, _ in LANGUAGE_CASES:
            cls.started[lc_all] = Scenario("lang-" + lc_all.split(".")[0], lc_all=lc_all).start()

    @classmethod
    def tearDownClass(cls):
        for s in cls.started.values():
            try:
                s.process.wait(timeout=EXIT_TIMEOUT_MS / 1000)
            except subprocess.TimeoutExpired:
                cls.failed = True
                print("%s: the launcher did not end after Cancel" % s.name, file=sys.stderr)
            s.end()
            if not cls.failed and not os.environ.get("E2E_KEEP"):
                shutil.rmtree(s.dir, ignore_errors=True)

    def check_language(self, lc_all, code):
        s = self.started[lc_all]
        try:
            dialog = s.wait_dialog()
            try:
                self.assertTexts(dialog, code, s)
            finally:
                driver("click", "--hwnd", dialog["hwnd"], "--id", 2)
        except BaseException:
            type(self).failed = True
            raise


def _language_test(lc_all, code):
    def test(self):
        self.check_language(lc_all, code)
    test.__doc__ = "LC_ALL=%s shows the '%s' texts" % (lc_all, code)
    return test


for _lc_all, _lang_id, _code in LANGUAGE_CASES:
    setattr(LanguageTests, "test_%s_shows_%s" % (_lc_all.split(".")[0], _code), _language_test(_lc_all, _code))


class CodePageTests(E2ETestCase):
    """The user's language and the system's code page apart (LC_MESSAGES and LC_CTYPE): the texts
    must come out with their own characters, not read in the system's code page."""

    def test_texts_under_code_pages_1251_and_932(self):
        for ctype, messages, acp, code in [("ru_RU.UTF-8", "de_DE.UTF-8", 1251, "de"),
                                           ("ja_JP.UTF-8", "da_DK.UTF-8", 932, "da")]:
            with self.subTest(code_page=acp):
                env = dict(LC_CTYPE=ctype, LC_MESSAGES=messages)
                locale = driver("locale", lc_all="", **env)
                self.assertEqual(acp, locale["acp"], "the environment gives no code page %d: %s" % (acp, locale))
                s = self.scenario("cp%d" % acp, lc_all="").start(**env)
                dialog = s.wait_dialog()
                try:
                    self.assertTexts(dialog, code, s)
                finally:
                    driver("click", "--hwnd", dialog["hwnd"], "--id", 2)
                self.assertNoMessageBox(s.watch_exit(), s)


class LocaleSanityTests(E2ETestCase):
    """The environment itself: LC_ALL must give Wine the language identifiers the cases assume."""

    def test_lc_all_gives_the_language_identifiers(self):
        for lc_all, lang_id, _ in LANGUAGE_CASES:
            with self.subTest(lc_all=lc_all):
                self.assertEqual(lang_id, driver("locale", lc_all=lc_all)["ilanguage"])


# ---- group "registry": the language table missing from the registry -----------------------------------

RFC1766_KEY = "HKCR\\MIME\\Database\\Rfc1766"


class MissingTableTests(E2ETestCase):
    """Deletes the shared table for a moment: CTest runs this group alone (RUN_SERIAL)."""

    def test_missing_table_gives_english_texts_and_message(self):
        deleted = wine_run(["reg", "delete", RFC1766_KEY, "/f"])
        try:
            self.assertEqual(0, deleted[0], "reg delete failed: %r" % (deleted,))
            self.assertNotEqual(0, wine_run(["reg", "query", RFC1766_KEY])[0], "the key is still there")
            s = self.scenario("no-table", lc_all="de_DE.UTF-8").start()
            dialog = s.wait_dialog()
            self.assertTexts(dialog, "en", s)
            self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
            self.assertMissingToolReported(s, "en", dialog)
        finally:
            restored = wine_run(["reg", "import", win_path(CONFIG.registry_file)])
            self.assertEqual(0, restored[0], "could not restore the table: %r" % (restored,))
            self.assertEqual(0, wine_run(["reg", "query", RFC1766_KEY, "/v", "0407"])[0],
                             "the table was not restored")


# ---- group "launch": OK, Enter, the tool present or missing -------------------------------------------

class LaunchTests(E2ETestCase):

    def test_stub_records_its_arguments(self):
        # The harness itself: the stub sees and records arguments, so an empty list means none.
        s = self.scenario("stub-self", stub=True)
        self.assertEqual(0, wine_run([os.path.join(s.dir, STUB_NAME), "one two", "three"])[0])
        starts = poll(s.starts, 30)
        self.assertEqual([["one two", "three"]], [r["args"] for r in starts])

    def test_ok_starts_the_tool_without_arguments_and_does_not_wait(self):
        # The tool stays up for a minute unless released; the launcher must end long before.
        s = self.scenario("ok-tool", stub=True, linger_ms=60000).start()
        dialog = s.wait_dialog()
        self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
        windows = s.watch_exit()
        self.assertNoMessageBox(windows, s)
        start = self.assertStartedOnceWithoutArguments(s)
        self.assertEqual(["start"], [r["event"] for r in s.record()],
                         "the tool ended before the launcher did: %s" % s.record())
        self.assertEqual(1, len(s.stub_processes()), "the tool should still run after the launcher ended")
        self.assertEqual(1, start["show"], "the tool should be shown normally (SW_SHOWNORMAL)")
        self.assertEqual(win_path(s.cwd).lower(), start["cwd"].rstrip("\\").lower(),
                         "the tool should inherit the launcher's working directory")
        s.release_stub()
        self.assertTrue(poll(lambda: [r for r in s.record() if r["event"] == "exit"], 30),
                        "the tool did not end after its release")

    def test_enter_acts_as_ok(self):
        s = self.scenario("enter", stub=True).start()
        dialog = s.wait_dialog()
        self.assertEqual(1, dialog["focus_id"], "OK should have the focus at first")
        self.assertTrue(driver("key", "--hwnd", dialog["hwnd"], "--key", "enter")["ok"])
        windows = s.watch_exit()
        self.assertNoMessageBox(windows, s)
        self.assertStartedOnceWithoutArguments(s)

    def test_ok_without_the_tool_reports_it_in_english(self):
        s = self.scenario("missing-en", lc_all="en_US.UTF-8").start()
        dialog = s.wait_dialog()
        self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
        self.assertMissingToolReported(s, "en", dialog)

    def test_ok_without_the_tool_reports_it_in_german(self):
        s = self.scenario("missing-de", lc_all="de_DE.UTF-8").start()
        dialog = s.wait_dialog()
        self.assertTexts(dialog, "de", s)
        self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
        self.assertMissingToolReported(s, "de", dialog)

    def test_a_folder_name_beyond_the_code_page(self):
        # Polish, Russian and Turkish letters: no single code page has them all.
        for stub in (True, False):
            with self.subTest(stub=stub):
                s = self.scenario("unicode", stub=stub, lc_all="de_DE.UTF-8",
                                  folder="Werkstatt \u0141\u00f3d\u017a \u041c\u0430\u0441\u0442\u0435\u0440\u0441\u043a\u0430\u044f Ertu\u011frul")
                dialog = s.start(by_windows_path=True).wait_dialog()
                self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
                if stub:
                    self.assertNoMessageBox(s.watch_exit(), s)
                    self.assertStartedOnceWithoutArguments(s)
                else:
                    self.assertMissingToolReported(s, "de", dialog)

    def test_ok_with_a_tool_that_cannot_start_says_why(self):
        # An empty file (a download cut short): Wine's reason, the path for its %1, captioned with the launcher's
        # name beyond Windows-1252. A folder of the tool's name: reported missing, opened by no other program.
        for kind, name in (("empty", "Teleskarn \u0141\u00f3d\u017a"), ("folder", "Teleskarn")):
            with self.subTest(kind):
                s = self.scenario(kind, exe=name + ".exe")
                tool = os.path.join(s.dir, STUB_NAME)
                os.mkdir(tool) if kind == "folder" else open(tool, "wb").close()
                dialog = s.start(by_windows_path=True).wait_dialog()
                before = {w["hwnd"] for w in driver("windows", "--exe", "*")["windows"] if w["visible"]}
                self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1)["ok"])
                self.assertMissingToolReported(s, "en", dialog, caption=name, text_utf8="Error\nBad EXE format for %s."
                                               % s.stub_win if kind == "empty" else None)
                opened = [w for w in driver("windows", "--exe", "*")["windows"]
                          if w["visible"] and w["hwnd"] not in before]
                self.assertEqual([], opened, "%s: another program opened a window" % s.name)

    def test_ok_without_the_tool_reports_it_in_swedish_as_english(self):
        # Every row but the German one carries the English message.
        s = self.scenario("missing-sv", lc_all="sv_SE.UTF-8").start()
        dialog = s.wait_dialog()
        self.assertTrue(driver("click", "--hwnd", dialog["hwnd"], "--id", 1, "--via", "command")["ok"])
        self.assertMissingToolReported(s, "sv", dialog)


# ---- group "close": ways out that start nothing ------------------------------------------------------

class CloseTests(E2ETestCase):
    """The tool lies beside the launcher each time, so "nothing started" is a real observation."""

    def closes_without_launch(self, name, act):
        s = self.scenario(name, stub=True).start()
        dialog = s.wait_dialog()
        self.assertTrue(act(dialog)["ok"])
        windows = s.watch_exit()
        self.assertNoMessageBox(windows, s)
        self.assertNothingStarted(s)

    def test_cancel_button(self):
        self.closes_without_launch("cancel", lambda d: driver("click", "--hwnd", d["hwnd"], "--id", 2))

    def test_escape(self):
        self.closes_without_launch("escape", lambda d: driver("key", "--hwnd", d["hwnd"], "--key", "escape"))

    def test_close_box(self):
        self.closes_without_launch("closebox", lambda d: driver("close", "--hwnd", d["hwnd"]))

    def test_f1_does_nothing(self):
        # WM_KEYF1 is what a typed F1 becomes; a posted F1 key is the plain key message. After each
        # the driver tabs once and waits for the focus to move (see e2e_driver.cpp), then looks.
        s = self.scenario("f1", stub=True, lc_all="de_DE.UTF-8").start()
        dialog = s.wait_dialog()
        focus = [1, 2]
        for i, via in enumerate(["keyf1", "post"]):
            with self.subTest(via=via):
                r = driver("key", "--hwnd", dialog["hwnd"], "--key", "f1", "--via", via, "--sync-tab", 15000)
                self.assertTrue(r["synced"] and r["focus_in_dialog"], "F1 took the focus away: %s" % json.dumps(r))
                self.assertEqual(focus[(i + 1) % 2], r["focus_id"])
                visible = [w["hwnd"] for w in r["windows"] if w["visible"]]
                self.assertEqual([dialog["hwnd"]], visible, "F1 opened a window: %s" % json.dumps(r["windows"]))
        again = driver("info", "--hwnd", dialog["hwnd"])
        self.assertEqual(dialog_texts(dialog), dialog_texts(again), "F1 changed the dialog")
        self.assertTrue(driver("key", "--hwnd", dialog["hwnd"], "--key", "escape")["ok"])
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertNothingStarted(s)


# ---- group "input": real keyboard and mouse from the X side --------------------------------------------

class RealInputTests(E2ETestCase):
    """Input through the X server (and SendInput) goes to whatever window is under the pointer or in
    front, so CTest runs this group alone (RUN_SERIAL)."""

    def test_x_escape_with_the_pointer_on_a_free_spot(self):
        s = self.scenario("x-escape", stub=True).start()
        dialog = s.wait_dialog()
        x, y = dialog["free_point"]
        xdotool("mousemove", "--sync", x, y)
        xdotool("key", "Escape")
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertNothingStarted(s)

    def test_x_mouse_click_on_ok_starts_the_tool(self):
        s = self.scenario("x-click-ok", stub=True).start()
        dialog = s.wait_dialog()
        x, y = center(dialog["controls"]["1"]["rect"])
        xdotool("mousemove", "--sync", x, y)
        xdotool("click", "1")
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertStartedOnceWithoutArguments(s)

    def test_x_click_on_the_close_box(self):
        # There is no window manager: Wine draws the caption and its close box itself (the test
        # environment makes its windows unmanaged), so the box is there on the X screen to click.
        s = self.scenario("x-closebox", stub=True).start()
        dialog = s.wait_dialog()
        point = driver("ncpoint", "--hwnd", dialog["hwnd"], "--hit", 20)  # 20: HTCLOSE
        self.assertTrue(point["ok"], "no close box found: %s" % json.dumps(point))
        xdotool("mousemove", "--sync", *point["point"])
        xdotool("click", "1")
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertNothingStarted(s)

    def test_typed_f1_does_nothing(self):
        s = self.scenario("x-f1", stub=True).start()
        dialog = s.wait_dialog()
        # SendInput: the system's F1 handling runs as for a typed key.
        r = driver("key", "--hwnd", dialog["hwnd"], "--key", "f1", "--via", "input", "--sync-tab", 15000)
        self.assertTrue(r["synced"] and r["focus_in_dialog"], "F1 took the focus away: %s" % json.dumps(r))
        self.assertEqual(2, r["focus_id"])
        self.assertEqual([dialog["hwnd"]], [w["hwnd"] for w in r["windows"] if w["visible"]])
        # F1 from the X keyboard with the pointer on a free spot, then Tab to know it was handled.
        x, y = dialog["free_point"]
        xdotool("mousemove", "--sync", x, y)
        xdotool("key", "F1", "Tab")
        moved = poll(lambda: driver("info", "--hwnd", dialog["hwnd"])["focus_id"] == 1, 15, 0.1)
        self.assertTrue(moved, "the typed Tab after F1 was not handled by the dialog")
        r = driver("windows", "--exe", s.exe_win)
        self.assertEqual([dialog["hwnd"]], [w["hwnd"] for w in r["windows"] if w["visible"]],
                         "F1 opened a window: %s" % json.dumps(r["windows"]))
        xdotool("key", "Escape")
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertNothingStarted(s)


# ---- group "look": the dialog as the X screen shows it ------------------------------------------------

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.realpath(__file__))))
BACK_COLOUR = (245, 245, 245)  # the dialog's background colour, of the panel and under the labels
# The buttons' faces: a vertical ramp with a grain of 4 palette steps, the palette tinted 10 % toward
# this colour, the hot face's a further 20 % toward the highlight colour.
TINT_COLOUR, TINT, HOT_TINT, GRAIN = (50, 80, 250), 10, 20, 4
# Template 102 in dialog units: the client area's size, each control's x, y, width and height.
TEMPLATE_SIZE = (205, 210)
TEMPLATE = {"1": (16, 186, 83, 17), "2": (107, 186, 83, 17), "1000": (69, 16, 124, 14),
            "1001": (12, 36, 180, 20), "1002": (12, 61, 180, 83), "1003": (12, 149, 180, 27),
            "1004": (7, 7, 191, 172)}
LABEL_FONTS = {"1000": (18, True), "1001": (11, False), "1002": (11, False), "1003": (9, False)}  # height, bold


def wine_env(*args):
    """scripts/wine-env.sh on the test environment: "dpi", N or "colors", SCHEME set the display's DPI or the
    system colours (classic or one of tests/wine/colors) for the programs started from now on."""
    done = subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine-env.sh"), args[0], CONFIG.wine_env] +
                          [str(a) for a in args[1:]], capture_output=True, timeout=120)
    if done.returncode:
        raise AssertionError("wine-env.sh %s failed: %s" % (args, done.stderr.decode("utf-8", "replace")))


def known_colours(reg="classic-colors.reg"):
    """The system colours a registry file of tests/wine sets (by default those of the test environment), by
    value name."""
    with open(os.path.join(SOURCE_DIR, "tests", "wine", reg)) as f:
        found = re.findall(r'^"(\w+)"="(\d+) (\d+) (\d+)"', f.read(), re.M)
    return {name: (int(r), int(g), int(b)) for name, r, g, b in found}


KNOWN_COLOURS = known_colours()
# The system colour indices (COLOR_*) of the registry's names.
COLOR_INDEX = {"Window": 5, "WindowText": 8, "Hilight": 13, "HilightText": 14, "ButtonFace": 15, "ButtonShadow": 16,
               "GrayText": 17, "ButtonText": 18, "ButtonHilight": 20}


def face_palettes(colours):
    """The normal and the hot palette of a button face: shadow at entry 0, nearly the face colour at
    128, highlight at 255, then tinted."""
    shadow, face, light = colours["ButtonShadow"], colours["ButtonFace"], colours["ButtonHilight"]
    ramp = [tuple((s * (128 - k) + f * k) // 128 for s, f in zip(shadow, face)) for k in range(128)]
    ramp += [tuple((f * (128 - i) + l * i) // 128 for f, l in zip(face, light)) for i in range(1, 129)]

    def tinted(entries, toward, percent):
        return [tuple((c * (100 - percent) + t * percent) // 100 for c, t in zip(e, toward)) for e in entries]
    normal = tinted(ramp, TINT_COLOUR, TINT)
    return normal, tinted(normal, light, HOT_TINT)


def background_picture():
    """res/background.bmp (8 bits, uncompressed, bottom-up rows) as rows of colours, top row first."""
    with open(os.path.join(SOURCE_DIR, "res", "background.bmp"), "rb") as f:
        data = f.read()
    bits_at = struct.unpack_from("<I", data, 10)[0]
    header, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    assert bits == 8 and compression == 0 and height > 0, "background.bmp is not the 8-bit picture expected"
    table = [(data[i + 2], data[i + 1], data[i]) for i in range(14 + header, bits_at, 4)]
    stride = (width + 3) // 4 * 4
    return [[table[data[bits_at + (height - 1 - y) * stride + x]] for x in range(width)] for y in range(height)]


class Screen:
    """A rectangle of the X screen (grabbed with ImageMagick's import), read in screen coordinates."""

    def __init__(self, rect):
        left, top, right, bottom = rect
        size = (right - left, bottom - top)
        done = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (size + (left, top)),
                               "-depth", "8", "ppm:-"], env=dict(os.environ, DISPLAY=x_display()),
                              capture_output=True, timeout=30)
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", done.stdout)
        if done.returncode or not header or (int(header.group(1)), int(header.group(2))) != size:
            raise AssertionError("screen grab failed: %s" % done.stderr.decode("utf-8", "replace"))
        self.left, self.top, self.width = left, top, size[0]
        self.data = done.stdout[header.end():]

    def __call__(self, x, y):
        i = ((y - self.top) * self.width + x - self.left) * 3
        return tuple(self.data[i:i + 3])


def settle(rect, check, timeout_s=15, hold_s=0):
    """Grabs the screen until check(screen) finds no problem or the time is up; returns the last
    problems. Wine puts a repaint on the X screen a moment after it was drawn. With hold_s the check
    must find nothing on every grab for that long, so that a picture from before a repaint that is
    still on its way does not pass for the one after it."""
    deadline = time.monotonic() + timeout_s
    clean_since = None
    while True:
        problems = check(Screen(rect))
        now = time.monotonic()
        clean_since = None if problems else (now if clean_since is None else clean_since)
        if (not problems and now - clean_since >= hold_s) or now >= deadline:
            return problems[:8] + (["... %d problems in all" % len(problems)] if len(problems) > 8 else [])
        time.sleep(0.1)


def inside(x, y, rect, margin=0):
    return rect[0] - margin <= x < rect[2] + margin and rect[1] - margin <= y < rect[3] + margin


def mul_div(a, b, c):
    return (a * b + c // 2) // c  # the system's MulDiv for positive numbers: rounded to the nearest


def template_rects(client):
    """Screen rectangles of the controls as the template places them, with the dialog base units that
    give the client area the template's size."""
    units = [next((u for u in range(1, 100) if mul_div(size, u, per) == extent), None) for size, per, extent in
             ((TEMPLATE_SIZE[0], 4, client[2] - client[0]), (TEMPLATE_SIZE[1], 8, client[3] - client[1]))]
    if None in units:
        return {"client": client}
    (bx, by), rects = units, {}
    for cid, (x, y, w, h) in TEMPLATE.items():
        left, top = client[0] + mul_div(x, bx, 4), client[1] + mul_div(y, by, 8)
        rects[cid] = [left, top, left + mul_div(w, bx, 4), top + mul_div(h, by, 8)]
    return rects


def panel_and_background_problems(screen, dialog, picture):
    rects = {cid: c["rect"] for cid, c in dialog["controls"].items()}
    cl, ct, cr, cb = dialog["client_rect"]
    fl, ft, fr, fb = rects["1004"]
    # The group box's etched top line, two rows deep (5 pixels below its top at 96 DPI): where the
    # box draws it follows the dialog's font.
    line = next((y for y in range(ft, fb) if all(screen(x, y) == KNOWN_COLOURS["ButtonShadow"]
                                                 for x in range(fl + 2, fr - 2))), None)
    if line is None:
        return ["no etched line across the group box"]
    problems = ["a strip of panel colour in row %d above the group box's line" % y for y in range(ft, line)
                if all(screen(x, y) == BACK_COLOUR for x in range(fl + 2, fr - 2))]
    # The panel: the group box's rectangle from its line down to 2 short of its right and bottom
    # edges; the box's etched frame, drawn after it, covers its two outer columns and rows.
    for y in range(line + 2, fb - 2):
        for x in range(fl + 2, fr - 2):
            if screen(x, y) != BACK_COLOUR and not any(inside(x, y, rects[cid]) for cid in LABEL_FONTS):
                problems.append("panel pixel (%d, %d) is %s" % (x, y, screen(x, y)))
    # Everywhere else, the group box's top strip included: the picture stretched over the client area.
    # Where a stretched pixel takes its colour from is the system's rounding: one source pixel either way.
    ph, pw = len(picture), len(picture[0])
    covered = [rects["1"], rects["2"], [fl, line, fr, fb]]
    for y in range(ct + 2, cb - 2, 2):
        for x in range(cl + 2, cr - 2, 2):
            if any(inside(x, y, r, 2) for r in covered):
                continue
            sx, sy = (x - cl) * pw // (cr - cl), (y - ct) * ph // (cb - ct)
            near = [picture[j][i] for j in range(max(sy - 1, 0), min(sy + 2, ph))
                    for i in range(max(sx - 1, 0), min(sx + 2, pw))]
            if not any(max(abs(a - b) for a, b in zip(screen(x, y), p)) <= 2 for p in near):
                problems.append("background pixel (%d, %d) is %s, the picture %s"
                                % (x, y, screen(x, y), picture[sy][sx]))
    return problems


def label_problems(screen, cid, rect, ink, dpi=96, found=None):
    """A label's text: the text colour on the background colour (mixed at smoothed edges), not cut off
    by the control, in lines, capitals and strokes that fit its font. Arial's capitals and ascenders
    are 0.716 em high, a line from ascender to descender about 0.93 em, one line below the next 1.117
    em; a bold stroke at 18 pixels is about 2 pixels wide, a regular one at any of these sizes 1.
    The font's height grows with the DPI; found, if given, gets what was measured, lines included."""
    height, bold = LABEL_FONTS[cid]
    height = mul_div(height, dpi, 96)
    left, top, right, bottom = rect
    problems, cover = [], []  # cover: per row, how much of the text colour each pixel holds, 0 to 1
    for y in range(top, bottom):
        cover.append([])
        for x in range(left, right):
            parts = [(p - b) / (i - b) for p, b, i in zip(screen(x, y), BACK_COLOUR, ink) if i != b]
            if max(parts) - min(parts) > 0.03 or not -0.01 <= min(parts) <= max(parts) <= 1.01:
                problems.append("label %s: pixel (%d, %d) %s is no mix of text and background colour"
                                % (cid, x, y, screen(x, y)))
            cover[-1].append(min(max(sum(parts) / len(parts), 0.0), 1.0))
    dark = [[c > 0.5 for c in row] for row in cover]
    lines = []  # [first row, row after the last] of each band of rows with text
    for y, row in enumerate(dark):
        if any(row) and lines and lines[-1][1] == y:
            lines[-1][1] = y + 1
        elif any(row):
            lines.append([y, y + 1])
    if sum(c >= 0.99 for row in cover for c in row) < 10:
        return problems + ["label %s: no text in the text colour %s" % (cid, ink)]
    if any(dark[-1]) or any(row[-1] for row in dark):
        problems.append("label %s: the text runs into the control's right or bottom edge" % cid)
    tallest = max(max(len(run) for run in "".join("#" if row[x] else " " for row in dark).split(" "))
                  for x in range(right - left))
    strokes = [sum(run) for row in cover for run in _runs(row)]
    measured = {"capitals": tallest, "stroke": round(statistics.median(strokes), 2),
                "line": statistics.mode(b - t for t, b in lines),
                "pitch": statistics.mode([b[0] - a[0] for a, b in zip(lines, lines[1:])] or [None])}
    if found is not None:
        found[cid] = dict(measured, lines=len(lines))
    cap, line, pitch = int(0.716 * height), int(0.93 * height), int(1.117 * height)
    wanted = {"capitals": (cap - 1, cap + 2), "stroke": (0.09 * height, height / 6) if bold else (0.5, 1.05),
              "line": (cap - 1, cap + 2) if cid == "1000" else (line, line + 1),  # the heading is all capitals
              "pitch": (pitch, pitch + 1) if measured["pitch"] else (None, None)}
    for name, (low, high) in wanted.items():
        if low is not None and not low <= measured[name] <= high:
            problems.append("label %s (Arial %d%s): %s %s, not within %s to %s" % (
                cid, height, " bold" if bold else "", name, measured[name], low, high))
    return problems


def _runs(row):
    """The runs of pixels that hold some text colour in a row of coverages."""
    run = []
    for c in row + [0.0]:
        if c > 0:
            run.append(c)
        elif run:
            yield run
            run = []


def face_problems(screen, rect, palette, caption_colour, hot=False, focus_rect=False, inset=3):
    """A button's face. Every pixel but the caption's, the frame's (hot) and the focus rectangle's is
    the palette entry that the vertical ramp gives its row, light at the top, dark at the bottom, give
    or take the grain. Hot, a one-pixel frame: highlight at the left and top, shadow at the right and
    bottom. With the focus rectangle, every other pixel of the rectangle inset pixels inside the edge
    is changed; without, none."""
    left, top, right, bottom = rect
    w, h = right - left, bottom - top
    entries = collections.defaultdict(set)
    for i, c in enumerate(palette):
        entries[c].add(i)
    text = [(x, y) for y in range(top, bottom) for x in range(left, right) if screen(x, y) == caption_colour]
    if not text:
        return ["no caption in %s" % (caption_colour,)]
    box = [min(x for x, _ in text) - 1, min(y for _, y in text) - 1, max(x for x, _ in text) + 2,
           max(y for _, y in text) + 2]
    problems = []
    if abs(box[0] + box[2] - left - right) > 6 or abs(box[1] + box[3] - top - bottom) > 6 or \
            box[2] - box[0] > w // 2 or box[3] - box[1] > h // 2 + 2:
        problems.append("the caption's pixels %s do not make a centred caption" % box)
    ring = {(x, y) for x in range(inset, w - inset) for y in (inset, h - 1 - inset)}
    ring |= {(x, y) for x in (inset, w - 1 - inset) for y in range(inset, h - inset)}
    ring_pixels = marked = 0
    for y in range(top, bottom):
        base = (bottom - 1 - y) * (255 - 2 * GRAIN) // h + GRAIN
        for x in range(left, right):
            at, colour = (x - left, y - top), screen(x, y)
            if inside(x, y, box):
                continue
            if hot and (at[0] in (0, w - 1) or at[1] in (0, h - 1)):
                light = (at[1] == 0 and at[0] < w - 1) or (at[0] == 0 and at[1] < h - 1)
                frame = "ButtonHilight" if light else "ButtonShadow"
                if colour != KNOWN_COLOURS[frame]:
                    problems.append("frame pixel %s is %s, not %s" % (at, colour, frame))
                continue
            fits = any(abs(i - base) <= GRAIN for i in entries.get(colour, ()))
            if at in ring:
                ring_pixels += 1
                marked += not fits
            elif not fits:
                problems.append("pixel %s is %s, not an entry %d +- %d of the palette" % (at, colour, base, GRAIN))
    if focus_rect and not 0.35 * ring_pixels <= marked <= 0.65 * ring_pixels:
        problems.append("no dotted focus rectangle %d pixels inside: %d of %d pixels changed"
                        % (inset, marked, ring_pixels))
    if not focus_rect and marked:
        problems.append("%d pixels of a focus rectangle" % marked)
    return problems


def contrast(colour1, colour2):
    """WCAG 2: (L1 + 0.05) / (L2 + 0.05) of the lighter and the darker colour's relative luminance."""
    light, dark = sorted((sum(w * (c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4)
                              for w, c in zip((0.2126, 0.7152, 0.0722), (v / 255 for v in colour)))
                          for colour in (colour1, colour2)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def text_contrast_problems(screen, rect, ink, what):
    """Text in the colour ink inside rect, at least 4.5:1 against every pixel behind it: those of its
    bounding box (one pixel wider) that touch no pixel of the text."""
    left, top, right, bottom = rect
    text = {(x, y) for y in range(top, bottom) for x in range(left, right) if screen(x, y) == ink}
    if len(text) < 10:
        return ["%s: no text in %s" % (what, ink)]
    behind = {screen(x, y) for y in range(min(y for _, y in text) - 1, max(y for _, y in text) + 2)
              for x in range(min(x for x, _ in text) - 1, max(x for x, _ in text) + 2)
              if not any((x + dx, y + dy) in text for dx in (-1, 0, 1) for dy in (-1, 0, 1))}
    worst = min(behind, key=lambda c: contrast(ink, c))
    return [] if contrast(ink, worst) >= 4.5 else ["%s: %s on %s is %.2f:1" % (what, ink, worst, contrast(ink, worst))]


class LookTests(E2ETestCase):
    """The dialog on the X screen with the known system colours, against rules computed here. The real
    pointer moves, so CTest runs this group alone (RUN_SERIAL)."""

    def start(self, name):
        s = self.scenario(name).start()
        dialog = s.wait_dialog()
        # Off the controls, wherever the pointer was. No --sync for these moves: xdotool then sometimes
        # waits 15 s when the pointer is there already; the screen checks wait for the effect anyway.
        xdotool("mousemove", *dialog["free_point"])
        return s, dialog

    def close(self, s, dialog):
        self.assertTrue(driver("key", "--hwnd", dialog["hwnd"], "--key", "escape")["ok"])
        self.assertNoMessageBox(s.watch_exit(), s)

    def test_layout_panel_background_and_labels(self):
        # At 96 DPI, then at 144 (150 %): the same dialog, only larger, its text 1.5 times as tall in
        # the same lines. A DPI applies to the programs started after it is set; the tests after this
        # one find 96 DPI again.
        found = {96: {}, 144: {}}
        for dpi in found:
            if dpi != 96:
                wine_env("dpi", dpi)
                self.addCleanup(wine_env, "dpi", 96)
            s, dialog = self.start("look-page-%d" % dpi)
            rects = {cid: c["rect"] for cid, c in dialog["controls"].items()}
            self.assertEqual(template_rects(dialog["client_rect"]), {cid: rects[cid] for cid in TEMPLATE},
                             "the controls are not where the template puts them")
            picture, ink = background_picture(), KNOWN_COLOURS["WindowText"]

            def check(screen):
                problems = panel_and_background_problems(screen, dialog, picture)
                for cid in LABEL_FONTS:
                    problems += label_problems(screen, cid, rects[cid], ink, dpi, found[dpi])
                return problems
            self.assertEqual([], settle(dialog["window_rect"], check), s.describe())
            if dpi != 96:
                # Cancel with the focus: the dotted rectangle's inset grows with the rest.
                self.assertTrue(driver("key", "--hwnd", dialog["hwnd"], "--key", "tab")["ok"])
                self.assertTrue(poll(lambda: driver("info", "--hwnd", dialog["hwnd"])["focus_id"] == 2, 15, 0.1))
                cancel = rects["2"]
                self.assertEqual([], settle(cancel, lambda screen: face_problems(
                    screen, cancel, face_palettes(KNOWN_COLOURS)[0], KNOWN_COLOURS["ButtonText"], focus_rect=True,
                    inset=mul_div(3, dpi, 96))), "Cancel with the focus at %d DPI" % dpi)
            self.close(s, dialog)
        # Capitals 1.5 times as tall, give or take a pixel of rounding either way.
        for cid in LABEL_FONTS:
            self.assertLessEqual(abs(found[144][cid]["capitals"] - 1.5 * found[96][cid]["capitals"]), 1.5,
                                 "label %s: %s" % (cid, json.dumps(found)))
            self.assertEqual(found[96][cid]["lines"], found[144][cid]["lines"], "label %s: the lines break elsewhere"
                             % cid)

    def test_button_faces_under_the_pointer_and_with_the_focus(self):
        s, dialog = self.start("look-buttons")
        normal, hot = face_palettes(KNOWN_COLOURS)
        ok, cancel = dialog["controls"]["1"]["rect"], dialog["controls"]["2"]["rect"]
        area = [ok[0], min(ok[1], cancel[1]), cancel[2], max(ok[3], cancel[3])]
        caption = KNOWN_COLOURS["ButtonText"]

        def faces(hot_id=0, cancel_focus=False):
            # OK never shows a focus rectangle, focused or not.
            def check(screen):
                return [name + ": " + p for name, cid, rect in (("OK", 1, ok), ("Cancel", 2, cancel))
                        for p in face_problems(screen, rect, hot if hot_id == cid else normal, caption,
                                               hot_id == cid, cancel_focus and cid == 2)]
            return settle(area, check)
        self.assertEqual(1, dialog["focus_id"])
        self.assertEqual([], faces(), "at rest, OK with the focus")
        for cid, rect in (("1", ok), ("2", cancel)):
            xdotool("mousemove", *center(rect))
            self.assertEqual([], faces(hot_id=int(cid)), "the pointer over %s" % cid)
        xdotool("mousemove", *dialog["free_point"])
        self.assertEqual([], faces(), "the pointer away again")
        for focus in (2, 1):
            self.assertTrue(driver("key", "--hwnd", dialog["hwnd"], "--key", "tab")["ok"])
            self.assertTrue(poll(lambda: driver("info", "--hwnd", dialog["hwnd"])["focus_id"] == focus, 15, 0.1),
                            "Tab did not move the focus to %d" % focus)
            self.assertEqual([], faces(cancel_focus=focus == 2), "the focus on %d" % focus)
        self.close(s, dialog)

    def test_text_is_readable_in_every_colour_scheme(self):
        # The colours are set before the start; Wine reports high contrast off whatever they are. The light
        # text of High Contrast Black, #1 and #2 would be lost on the fixed panel.
        self.addCleanup(wine_env, "colors", "classic")
        for scheme in ("classic", "hc-black", "hc-white", "hc-1", "hc-2"):
            if scheme != "classic":
                wine_env("colors", scheme)
            colours = dict(KNOWN_COLOURS, **({} if scheme == "classic" else known_colours("colors/%s.reg" % scheme)))
            s, dialog = self.start("look-" + scheme)
            rects = {cid: c["rect"] for cid, c in dialog["controls"].items()}
            texts = [("label " + cid, cid, "WindowText") for cid in LABEL_FONTS] + \
                [("OK", "1", "ButtonText"), ("Cancel", "2", "ButtonText")]
            self.assertEqual([], settle(dialog["window_rect"], lambda screen: [
                p for what, cid, ink in texts for p in text_contrast_problems(screen, rects[cid], colours[ink], what)]),
                scheme)
            self.close(s, dialog)

    def test_labels_stay_whole_when_another_program_changes_the_colours(self):
        # A second program sets High Contrast Black with SetSysColors and then the old colours again, as
        # the system's settings do. Under Wine the running dialog keeps the colours it started with, but
        # each change still reaches it with a repaint of every window: the group box, its panel and every
        # label must come out of each as they were.
        s, dialog = self.start("look-colour-change")
        rects = {cid: c["rect"] for cid, c in dialog["controls"].items()}
        picture, ink = background_picture(), KNOWN_COLOURS["WindowText"]
        self.assertEqual([], settle(dialog["window_rect"], lambda screen: panel_and_background_problems(
            screen, dialog, picture) + [p for cid in LABEL_FONTS for p in label_problems(screen, cid, rects[cid], ink)]))
        frame = rects["1004"]
        before = Screen(frame)

        def unchanged(screen):
            changed = collections.Counter(next((cid for cid in LABEL_FONTS if inside(x, y, rects[cid])), "the panel")
                                          for y in range(frame[1], frame[3]) for x in range(frame[0], frame[2])
                                          if screen(x, y) != before(x, y))
            return ["%s: %d pixels differ from before" % (c if c == "the panel" else "label " + c, n)
                    for c, n in sorted(changed.items())]
        scheme = ",".join("%d=0x%02x%02x%02x" % ((COLOR_INDEX[name],) + rgb[::-1])
                          for name, rgb in known_colours("colors/hc-black.reg").items())
        for turn in (1, 2):   # each change wiped a label about every other time
            changed = driver("syscolors", "--set", scheme)
            self.assertTrue(changed["ok"], changed)
            if turn == 1:   # the colours outlive the test: set back at its end, whatever happened
                self.addCleanup(driver, "syscolors", "--set", changed["old"])
            self.assertEqual([], settle(frame, unchanged, hold_s=1), "after change %d to High Contrast Black" % turn)
            self.assertTrue(driver("syscolors", "--set", changed["old"])["ok"])
            self.assertEqual([], settle(frame, unchanged, hold_s=1), "after change %d back" % turn)
        self.close(s, dialog)


# ---- group "planting": libraries placed beside the launcher ---------------------------------------

# Windows' order for libraries that are no KnownDLLs: the program's own folder first, then the system.
NATIVE_FIRST = "version=n,b;comctl32=n,b;mscoree,mshtml="


class PlantingTests(E2ETestCase):
    """A version.dll and a comctl32.dll lie beside the launcher (tests/e2e/planted_dll.cpp): they
    record their loading and every call of theirs. The real pointer moves, so CTest runs this group
    alone (RUN_SERIAL)."""

    def test_planted_libraries_never_run_for_the_launcher(self):
        s = self.scenario("planted", stub=True)
        for dll in ("version.dll", "comctl32.dll"):
            shutil.copy2(os.path.join(CONFIG.planted, dll), s.dir)
        s.start(WINE_EXEC_DLLOVERRIDES=NATIVE_FIRST)
        dialog = s.wait_dialog()
        # Hot tracking, the tooltip and the launch: every path that binds version, common controls
        # or shell functions. Each move waits until the pointer has moved (xdotool's --sync waits
        # in vain when it is there already: the first spot is one no scenario leaves it on).
        x, y = dialog["free_point"]
        xdotool("mousemove", "--sync", x + 3, y + 2)
        for cid in ("1", "2", "1"):
            xdotool("mousemove", "--sync", *center(dialog["controls"][cid]["rect"]))
        xdotool("click", "1")
        self.assertNoMessageBox(s.watch_exit(), s)
        self.assertStartedOnceWithoutArguments(s)

        def record(dll):
            path = os.path.join(s.dir, "planted-%s.txt" % dll)
            return open(path).read().split() if os.path.exists(path) else []
        # Wine's own user32 imports version.dll (its wide functions), so under this order Wine
        # attaches the planted one to every program at start (Windows' user32 does not): that
        # shows the plant works. What counts is that none of the launcher's functions ran in it.
        version, comctl32 = record("version"), record("comctl32")
        self.assertIn("loaded", version, "the planted version.dll was not even attached\n" + s.describe())
        self.assertEqual({"version.dll called": [], "comctl32.dll loaded or called": []},
                         {"version.dll called": [f for f in version if f.endswith("A")],
                          "comctl32.dll loaded or called": comctl32}, s.describe())


# ---- group "gallery": the controls gallery driven as a user would -----------------------------------

GALLERY_IDS = {name: int(value) for name, value in re.findall(
    r"^#define (\w+)\s+(\d+)", open(os.path.join(SOURCE_DIR, "gallery", "GalleryIds.h")).read(), re.M)}
IMAGE = 16         # the gallery's images and icons are 16 x 16 pixels
MARGIN = 3         # the buttons' image margins at 96 DPI
RED, WHITE, BLACK = (200, 0, 0), (255, 255, 255), (0, 0, 0)


def frame_depth(x, y):
    return min(x, y, IMAGE - 1 - x, IMAGE - 1 - y)


# What the gallery's images show at each of their pixels, None where they are transparent: the
# bitmap a red frame 4 pixels wide; the mask-only icon white on its outer 2 pixels, black on 3 more.
BITMAP_PIXEL = lambda x, y: RED if frame_depth(x, y) < 4 else None
MASK_ONLY_ICON_PIXEL = lambda x, y: WHITE if frame_depth(x, y) < 2 else BLACK if frame_depth(x, y) < 5 else None


def image_problems(screen, button, align, pixel, text=True):
    """A button at rest with one image and a caption: the image where the placement rules put it,
    its transparent parts and a ring round it in the face colour, and (text) the caption's ink
    centred in the caption rectangle the image leaves."""
    left, top, right, bottom = button
    w, h, face = right - left, bottom - top, KNOWN_COLOURS["ButtonFace"]
    at, caption = {
        "left": ((MARGIN, (h - IMAGE) // 2), (MARGIN + IMAGE, 0, w, h)),
        "top": (((w - IMAGE) // 2, MARGIN), (0, IMAGE, w, h)),
        "right": ((w - MARGIN - IMAGE, (h - IMAGE) // 2), (MARGIN, 0, w - MARGIN - IMAGE, h)),
        "corner": ((0, 0), (0, 0, w, h)),
    }[align]
    problems = []
    for y in range(at[1] - 2, at[1] + IMAGE + 2):
        for x in range(at[0] - 2, at[0] + IMAGE + 2):
            if 0 <= x < w and 0 <= y < h:
                inside_image = 0 <= x - at[0] < IMAGE and 0 <= y - at[1] < IMAGE
                want = (pixel(x - at[0], y - at[1]) if inside_image else None) or face
                if screen(left + x, top + y) != want:
                    problems.append("pixel (%d, %d) of the button is %s, not %s" % (x, y, screen(left + x, top + y), want))
    if text:
        ink = [(x, y) for y in range(h) for x in range(w) if screen(left + x, top + y) == KNOWN_COLOURS["ButtonText"]]
        if not ink:
            return problems + ["no caption"]
        centre = ((min(x for x, _ in ink) + max(x for x, _ in ink) + 1) / 2,
                  (min(y for _, y in ink) + max(y for _, y in ink) + 1) / 2)
        want = ((caption[0] + caption[2]) / 2, (caption[1] + caption[3]) / 2)
        if abs(centre[0] - want[0]) > 2 or abs(centre[1] - want[1]) > 3:
            problems.append("the caption's ink is centred at %s, not at %s of the caption area %s"
                            % (centre, want, caption))
    return problems


def frame_problems(screen, button, hot):
    """A flat button's one-pixel border: raised while hot (highlight at the left and top, shadow at
    the right and bottom), none (the face colour) at rest."""
    l, t, r, b = button
    edges = [(x, t, "ButtonHilight") for x in range(l, r - 1)] + [(l, y, "ButtonHilight") for y in range(t, b - 1)] + \
        [(x, b - 1, "ButtonShadow") for x in range(l + 1, r)] + [(r - 1, y, "ButtonShadow") for y in range(t + 1, b)]
    bad = [(x, y) for x, y, colour in edges if screen(x, y) != KNOWN_COLOURS[colour if hot else "ButtonFace"]]
    return ["%d border pixels not as %s, first %s" % (len(bad), "hot" if hot else "at rest", bad[:3])] if bad else []


class _XCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]


def x_cursor():
    """The cursor the X server shows (XFixesGetCursorImage): width, height, hot spot and the set of
    its opaque black pixels."""
    x11, xfixes = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_XCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(x_display().encode())
    if not display:
        raise AssertionError("cannot open the X display")
    try:
        image = xfixes.XFixesGetCursorImage(display).contents
        w, h = image.width, image.height
        black = frozenset((i % w, i // w) for i in range(w * h) if image.pixels[i] & 0xFFFFFFFF == 0xFF000000)
        shape = (w, h, image.xhot, image.yhot, black)
        x11.XFree(ctypes.addressof(image))
        return shape
    finally:
        x11.XCloseDisplay(display)


class GalleryScenario(Scenario):
    """Gallery.exe in a folder of its own, with the stub beside it under the name of its link."""

    def __init__(self, name):
        super().__init__(name, exe="Gallery.exe")
        shutil.copy2(CONFIG.gallery, self.exe)
        shutil.copy2(CONFIG.stub, os.path.join(self.dir, "GalleryLink.exe"))


class GalleryTests(E2ETestCase):
    """Every case starts the gallery, acts on it with the real pointer and keyboard (xdotool) or
    the driver, and answers the problems it found; the gallery then ends on Escape. The pointer
    moves and the screen is read, so CTest runs this group alone (RUN_SERIAL)."""

    def hot_tooltip(self, g, rects):
        button = rects["IDC_TOOLTIP"]
        problems = settle(button, lambda screen: frame_problems(screen, button, hot=False))
        xdotool("mousemove", *center(button))
        problems += settle(button, lambda screen: frame_problems(screen, button, hot=True))
        tip = driver("shown", "--exe", g.exe_win, "--class", "tooltips_class32", "--timeout", 15000)
        return problems + ([] if tip.get("ok") and tip["text"]["utf8"] == "Its own tooltip" else ["tooltip: %s" % tip])

    def drop_down_menu(self, g, rects):
        button = rects["IDC_MENU"]
        xdotool("mousemove", *center(button))
        xdotool("click", 1)
        menu = driver("shown", "--exe", g.exe_win, "--class", "#32768", "--timeout", 15000)
        if not menu.get("ok"):
            return ["no menu: %s" % menu]
        problems = [] if menu["rect"][:2] == [button[0], button[3]] else [
            "the menu opened at %s, not under the button at %s" % (menu["rect"][:2], [button[0], button[3]])]
        # The commands are greyed until the owner has heard of the menu: a command that arrives was
        # made available by the notification, before the menu showed.
        xdotool("mousemove", menu["rect"][0] + 20, menu["rect"][1] + 10)
        xdotool("click", 1)
        want = "notify %s value 27 then command %d" % (menu["menu"].lower(), GALLERY_IDS["ID_CHOICE_FIRST"])
        status = poll(lambda: self.status(g) == want and want, 15) or self.status(g)
        return problems + ([] if status == want else ["the owner received %r, not %r" % (status, want)])

    def link(self, g, rects):
        xdotool("mousemove", *center(rects["IDC_LINK"]))
        xdotool("click", 1)
        starts = poll(g.starts, 30)
        return [] if [(r["args"], r["show"]) for r in starts] == [([], 3)] else [
            "the link's program should start once, maximised and without arguments: %s" % g.record()]

    def check_box(self, g, rects):
        seen = [self.controls(g)["IDC_CHECK"]["check"]]
        xdotool("mousemove", *center(rects["IDC_CHECK"]))
        xdotool("click", 1)
        seen.append(poll(lambda: self.controls(g)["IDC_CHECK"]["check"] == 0 and 0, 15, 0.1))
        driver("key", "--hwnd", g.hwnd, "--key", "space")
        seen.append(poll(lambda: self.controls(g)["IDC_CHECK"]["check"], 15, 0.1))
        return [] if seen == [1, 0, 1] else ["BM_GETCHECK at first, after a click, after Space: %s" % seen]

    def own_cursor(self, g, rects):
        # As the X server shows it: over a plain button the class's arrow; over this one the gallery's
        # cross, 32 x 32 pixels, 3 thick through its hot spot (15, 15), black, the rest transparent.
        cross = (32, 32, 15, 15, frozenset((x, y) for x in range(32) for y in range(32)
                                           if abs(x - 15) <= 1 or abs(y - 15) <= 1))
        seen = []
        for name, is_cross in (("IDC_FLAT", False), ("IDC_CURSOR", True), ("IDC_FLAT", False)):
            xdotool("mousemove", *center(rects[name]))
            shown = poll(lambda: [c for c in [x_cursor()] if (c == cross) == is_cross], 5) or [x_cursor()]
            seen.append((name, "the cross" if shown[0] == cross else "%d x %d, hot spot (%d, %d)" % shown[0][:4]))
        return [] if [c == "the cross" for _, c in seen] == [False, True, False] else ["the cursors shown: %s" % seen]

    def alignments(self, g, rects):
        return [name + ": " + p for name in ("left", "top", "right", "corner") for p in settle(
            rects["IDC_" + name.upper()], lambda screen: image_problems(screen, rects["IDC_" + name.upper()], name,
                                                                       BITMAP_PIXEL))]

    def mask_only_icon(self, g, rects):
        button = rects["IDC_MONOICON"]
        return settle(button, lambda screen: image_problems(screen, button, "left", MASK_ONLY_ICON_PIXEL, text=False))

    CASES = [
        ("the pointer lights a flat button and its tooltip shows", hot_tooltip),
        ("the drop-down menu opens under its button, notifies first and sends its command", drop_down_menu),
        ("the link button hands its link to the shell", link),
        ("a check-mode button toggles on a click and on Space", check_box),
        ("over its button the cursor is its own", own_cursor),
        ("each bitmap alignment places image and caption, the transparent parts show the face", alignments),
        ("the mask-only icon is drawn at its size, half its mask's height", mask_only_icon),
    ]

    def controls(self, g):
        found = driver("controls", "--hwnd", g.hwnd)["controls"]
        return {name: found[str(cid)] for name, cid in GALLERY_IDS.items() if str(cid) in found}

    def status(self, g):
        return self.controls(g)["IDC_STATUS"]["text"]["utf8"]

    def test_gallery(self):
        for what, case in self.CASES:
            with self.subTest(what):
                g = GalleryScenario("gallery-" + case.__name__.replace("_", "-")).start()
                self._scenarios.append(g)
                self.addCleanup(g.end)
                report = g.wait_window("controls", START_TIMEOUT_MS)
                self.assertTrue(report.get("ok"), "%s: the gallery did not come up: %s" % (what, report))
                g.hwnd = report["hwnd"]
                xdotool("mousemove", *report["free_point"])
                rects = {name: c["rect"] for name, c in self.controls(g).items()}
                problems = case(self, g, rects)
                xdotool("mousemove", *report["free_point"])
                driver("key", "--hwnd", g.hwnd, "--key", "escape")
                self.assertTrue(driver("watch", "--exe", g.exe_win, "--timeout", EXIT_TIMEOUT_MS)["ok"],
                                "%s: the gallery did not end on Escape" % what)
                self.assertEqual([], problems[:12], "%s\n%s" % (what, g.describe()))


GROUPS = {
    "languages": [LocaleSanityTests, LanguageTests, CodePageTests],
    "registry": [MissingTableTests],
    "launch": [LaunchTests],
    "close": [CloseTests],
    "input": [RealInputTests],
    "look": [LookTests],
    "planting": [PlantingTests],
    "gallery": [GalleryTests],
}


def main():
    global CONFIG
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("wine-env", "wine-exec", "launcher", "stub", "driver", "registry-file", "work"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--planted", help="the folder of the planted version.dll and comctl32.dll")
    parser.add_argument("--gallery", help="Gallery.exe, for the gallery group")
    parser.add_argument("-k", dest="pattern", action="append", help="only tests whose name contains this")
    parser.add_argument("groups", nargs="+", choices=sorted(GROUPS))
    CONFIG = parser.parse_args()
    for attr in ("wine_env", "wine_exec", "launcher", "stub", "driver", "registry_file", "work", "planted", "gallery"):
        if getattr(CONFIG, attr):
            setattr(CONFIG, attr, os.path.realpath(getattr(CONFIG, attr)))
    if "planting" in CONFIG.groups and not CONFIG.planted:
        sys.exit("the planting group needs --planted")
    for attr in ("launcher", "stub", "driver"):
        if not os.path.isfile(getattr(CONFIG, attr)):
            sys.exit("missing %s: %s (build it first)" % (attr, getattr(CONFIG, attr)))

    loader = unittest.TestLoader()
    if CONFIG.pattern:
        loader.testNamePatterns = ["*%s*" % p for p in CONFIG.pattern]
    suite = unittest.TestSuite()
    for group in CONFIG.groups:
        for case in GROUPS[group]:
            suite.addTests(loader.loadTestsFromTestCase(case))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
