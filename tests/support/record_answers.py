#!/usr/bin/env python3
"""Records what lircomplect-kit and lircomplect-prices answer to random lines.

    record_answers.py BINDIR ZENIDB OUTDIR [--sessions N] [--lines N] [--pg ENVFILE]

Every session runs one program in a fresh folder of OUTDIR/work with a priced
copy of ZENIDB (and, for lircomplect-prices, tables damaged on purpose).  The
answers (standard output, standard error, exit status) and a digest of every
file a session leaves behind go into OUTDIR/answers.txt: SQLite tables as
their rows, workbooks as their unzipped parts (the zip's own timestamps and
the workbook's creation time vary from run to run), other files as bytes.
Two recordings of the same lines, made with two builds, are compared with
`diff`: a refactoring that keeps the behaviour leaves them identical.
The lines are random but fixed by the seed.
"""
import argparse
import hashlib
import json
import os
import random
import re
import shutil
import sqlite3
import subprocess
import sys
import zipfile
from datetime import date, timedelta

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_recorded_inputs as kitinputs  # noqa: E402

CALCS = ["6741", "6742", "6741otkid"]


def calculator_line(rnd):
    calc = rnd.choice(CALCS)
    line = {"calculator": calc}
    if rnd.random() < 0.7:
        line["FFH"] = kitinputs.size(rnd)
        line["FFB"] = kitinputs.size(rnd)
    keys = kitinputs.COMMON + kitinputs.ONLY[calc]
    for key in rnd.sample(keys, rnd.randint(0, 4)):
        line[key] = kitinputs.value(rnd, calc, key, line)
    r = rnd.random()
    if r < 0.35:
        line["add_to_order"] = True
    elif r < 0.42:
        line["save_changes"] = True
    elif r < 0.47:
        line["export_html"] = "out/kit%d.html" % rnd.randint(1, 5)
    elif r < 0.52:
        line["export_xlsx"] = "out/kit%d.xlsx" % rnd.randint(1, 5)
    elif r < 0.53:
        line["export_html"] = "missing-folder/kit.html"
    if rnd.random() < 0.05:
        line["calculate"] = False
    return line


def order_line(rnd):
    cmd = rnd.choice(["show", "clear", "view", "view", "delete", "edit", "edit", "type", "type", "save",
                      "save", "export_html", "export_xlsx", "bogus"])
    line = {"order": cmd}
    if cmd == "view":
        line["view"] = rnd.randint(0, 4)
    elif cmd in ("delete", "edit"):
        line["row"] = rnd.randint(0, 6)
    elif cmd == "type":
        line.update(view=rnd.randint(1, 3), row=rnd.randint(1, 8),
                    text=rnd.choice(["1", "2", "12", "0", "-3", "abc", "", "100000", "7"]))
    elif cmd == "save":
        line["description"] = rnd.choice(["Дача", "Гараж", "", "Квартира №%d" % rnd.randint(1, 99), "Офис"])
    elif cmd.startswith("export_"):
        ext = "html" if cmd == "export_html" else "xlsx"
        line.update(view=rnd.randint(1, 3), markup=rnd.choice(["0", "10", "12,5", "-5", "abc", ""]),
                    path=rnd.choice(["out/sum%d.%s" % (rnd.randint(1, 4), ext), "missing-folder/s." + ext]))
    return line


def history_line(rnd):
    cmd = rnd.choice(["list", "list", "kits", "open", "open", "delete"])
    line = {"history": cmd}
    if cmd != "list" or rnd.random() < 0.05:
        line["id"] = rnd.choice([rnd.randint(1, 40), 0, 1.5])
    return line


def kit_session(rnd, count):
    lines = []
    while len(lines) < count:
        r = rnd.random()
        if r < 0.62:
            lines.append(json.dumps(calculator_line(rnd), ensure_ascii=False))
        elif r < 0.9:
            lines.append(json.dumps(order_line(rnd), ensure_ascii=False))
        elif r < 0.995:
            lines.append(json.dumps(history_line(rnd), ensure_ascii=False))
        else:
            lines.append(rnd.choice(["broken", "", '{"calculator":"6741","FFH":"wide"}', "[1]"]))
    return lines


def price_all(path, rnd):
    db = sqlite3.connect(path)
    table = db.execute("SELECT name FROM sqlite_master WHERE type='table'").fetchone()[0]
    cols = [r[1] for r in db.execute('PRAGMA table_info("%s")' % table)]
    price = next(c for c in cols if c.lower().startswith("cena") or c.lower() == "price" or c.lower() == "zena")
    ids = [r[0] for r in db.execute('SELECT rowid FROM "%s"' % table)]
    for rowid in ids:
        db.execute('UPDATE "%s" SET "%s"=? WHERE rowid=?' % (table, price),
                   (round(rnd.uniform(0, 900), 2) if rnd.random() < 0.9 else 0, rowid))
    db.commit()
    db.close()
    return table


def damage(path, rnd):
    """Deletes and duplicates a few rows, so that sync and check have work."""
    db = sqlite3.connect(path)
    table = db.execute("SELECT name FROM sqlite_master WHERE type='table'").fetchone()[0]
    ids = [r[0] for r in db.execute('SELECT rowid FROM "%s"' % table)]
    for rowid in rnd.sample(ids, min(len(ids), rnd.randint(0, 40))):
        db.execute('DELETE FROM "%s" WHERE rowid=?' % table, (rowid,))
    ids = [r[0] for r in db.execute('SELECT rowid FROM "%s"' % table)]
    cols = [r[1] for r in db.execute('PRAGMA table_info("%s")' % table)]
    for rowid in rnd.sample(ids, min(len(ids), rnd.randint(0, 4))):
        db.execute('INSERT INTO "%s" (%s) SELECT %s FROM "%s" WHERE rowid=?'
                   % (table, ",".join('"%s"' % c for c in cols), ",".join('"%s"' % c for c in cols), table),
                   (rowid,))
    db.commit()
    db.close()


# Set by main: the recording's own folder and the dates of the run, which
# appear in messages and documents and differ between two recordings.
VARYING = []


def normalised(data):
    for old, new in VARYING:
        data = data.replace(old, new)
    return data


def digest_file(path):
    with open(path, "rb") as f:
        head = f.read(16)
    if head.startswith(b"SQLite format 3"):
        db = sqlite3.connect(path)
        h = hashlib.sha256()
        for (name, sql) in db.execute("SELECT name, sql FROM sqlite_master ORDER BY name"):
            h.update(repr((name, sql)).encode())
            if sql and sql.startswith("CREATE TABLE"):
                for row in db.execute('SELECT * FROM "%s" ORDER BY rowid' % name):
                    h.update(repr(row).encode())
        db.close()
        return "sqlite " + h.hexdigest()
    if head.startswith(b"PK"):
        h = hashlib.sha256()
        with zipfile.ZipFile(path) as z:
            for name in sorted(z.namelist()):
                data = z.read(name)
                if name == "docProps/core.xml":
                    data = re.sub(rb"<dcterms:(created|modified)[^<]*</dcterms:\1>", b"", data)
                h.update(name.encode() + b"\0" + hashlib.sha256(normalised(data)).digest())
        return "zip " + h.hexdigest()
    with open(path, "rb") as f:
        return "bytes " + hashlib.sha256(normalised(f.read())).hexdigest()


def digest_folder(folder):
    out = []
    for root, _dirs, files in os.walk(folder):
        for name in sorted(files):
            path = os.path.join(root, name)
            rel = os.path.relpath(path, folder)
            if rel.endswith(".lock") or name.startswith(".lircomplect"):
                out.append("  %s (lock)" % rel)
                continue
            out.append("  %s %s" % (rel, digest_file(path)))
    return sorted(out)


def run(cmd, cwd, stdin, env):
    p = subprocess.run(cmd, cwd=cwd, input=stdin.encode(), capture_output=True, env=env, timeout=600)
    return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bindir")
    ap.add_argument("zenidb")
    ap.add_argument("outdir")
    ap.add_argument("--sessions", type=int, default=12)
    ap.add_argument("--lines", type=int, default=400)
    ap.add_argument("--paradox", help="folder of Paradox tables to convert")
    ap.add_argument("--pg", help="connection file of a throwaway server (tools/pgcluster.sh)")
    args = ap.parse_args()

    kit = os.path.join(os.path.abspath(args.bindir), "lircomplect-kit")
    prices = os.path.join(os.path.abspath(args.bindir), "lircomplect-prices")
    work = os.path.join(os.path.abspath(args.outdir), "work")
    shutil.rmtree(args.outdir, ignore_errors=True)
    os.makedirs(work)
    today = date.today()
    for day in (today, today - timedelta(days=1), today + timedelta(days=1)):
        VARYING.append((day.strftime("%d.%m.%Y").encode(), b"<DATE>"))
        VARYING.append((day.strftime("%Y-%m-%d").encode(), b"<DATE>"))
    VARYING.insert(0, (os.path.abspath(args.outdir).encode(), b"<OUT>"))
    env = dict(os.environ, LC_ALL="ru_RU.UTF-8", QT_QPA_PLATFORM="offscreen")
    rnd = random.Random(20261210)
    report = []
    counts = {"lines": 0, "files": 0, "runs": 0}

    def record(title, cwd, code, out, err, stdin_lines):
        report.append("=== %s (exit %d)" % (title, code))
        report.append(normalised(out.encode()).decode().rstrip("\n"))
        if err:
            report.append("--- stderr")
            report.append(normalised(err.encode()).decode().rstrip("\n"))
        files = digest_folder(cwd)
        counts["files"] += len(files)
        counts["lines"] += stdin_lines
        counts["runs"] += 1
        report.append("--- files")
        report.extend(files)

    for s in range(args.sessions):
        cwd = os.path.join(work, "kit%02d" % s)
        os.makedirs(os.path.join(cwd, "out"))
        shutil.copy(args.zenidb, os.path.join(cwd, "zeni.db"))
        price_all(os.path.join(cwd, "zeni.db"), rnd)
        lines = kit_session(rnd, args.lines)
        code, out, err = run([kit], cwd, "\n".join(lines) + "\n", env)
        record("kit session %d" % s, cwd, code, out, err, len(lines))

    commands = []
    for s in range(args.sessions * 2):
        commands.append(rnd.choice([["sync"], ["check"], ["sync", "check"], ["check", "sync", "check"]]))
    commands += [["--help"], ["--version"], ["bogus"], [], ["import-paradox"], ["import-paradox", "nowhere.db"],
                 ["import-paradox", "zeni.db"], ["copy-to-server"]]
    for s, cmds in enumerate(commands):
        cwd = os.path.join(work, "prices%02d" % s)
        os.makedirs(cwd)
        if s % 7 != 6:
            shutil.copy(args.zenidb, os.path.join(cwd, "zeni.db"))
            price_all(os.path.join(cwd, "zeni.db"), rnd)
            damage(os.path.join(cwd, "zeni.db"), rnd)
        for i in range(0, len(cmds)) if cmds and cmds[0] in ("sync", "check") else [None]:
            argv = [cmds[i]] if i is not None else cmds
            code, out, err = run([prices] + argv, cwd, "", env)
            record("prices %d %s" % (s, " ".join(argv)), cwd, code, out, err, 1)

    if args.paradox:
        for name in sorted(os.listdir(args.paradox)):
            for target in ("zeni.db", "zakaz.db", None):
                cwd = os.path.join(work, "paradox-%s-%s" % (name, target))
                os.makedirs(cwd)
                src = os.path.join(args.paradox, name)
                if target:
                    shutil.copy(src, os.path.join(cwd, target))
                    argv = ["import-paradox", target]
                else:
                    shutil.copy(src, os.path.join(cwd, name))
                    argv = ["import-paradox", name]
                code, out, err = run([prices] + argv, cwd, "", env)
                record("prices %s" % " ".join(argv), cwd, code, out, err, 1)
                # A second conversion finds the table already there.
                code, out, err = run([prices] + argv, cwd, "", env)
                record("prices again %s" % " ".join(argv), cwd, code, out, err, 1)

    if args.pg:
        conn = dict(l.strip().split("=", 1) for l in open(args.pg) if "=" in l)
        if "unavailable" in conn:
            sys.exit("no server: " + conn["unavailable"])
        VARYING.insert(0, (conn["host"].encode(), b"<SOCKET>"))
        psql = ["psql", "-X", "-q", "-A", "-t", "-h", conn["host"], "-p", conn["port"], "-U", conn["user"]]
        kit_folders = sorted(d for d in os.listdir(work) if d.startswith("kit"))
        for s in range(4):
            dbname = "lir_record_%d" % s
            subprocess.run(psql + ["-d", "postgres", "-c", "DROP DATABASE IF EXISTS %s" % dbname], check=True)
            subprocess.run(psql + ["-d", "postgres", "-c", "CREATE DATABASE %s" % dbname], check=True)
            cwd = os.path.join(work, "server%02d" % s)
            os.makedirs(os.path.join(cwd, "out"))
            with open(os.path.join(cwd, "lircomplect.ini"), "w") as f:
                f.write("[database]\ndriver=postgresql\nhost=%s\nport=%s\ndbname=%s\nuser=%s\n"
                        % (conn["host"], conn["port"], dbname, conn["user"]))
            shutil.copy(args.zenidb, os.path.join(cwd, "zeni.db"))
            price_all(os.path.join(cwd, "zeni.db"), rnd)
            damage(os.path.join(cwd, "zeni.db"), rnd)
            zakaz = os.path.join(work, kit_folders[s % len(kit_folders)], "zakaz.db")
            if s % 2 == 0 and os.path.exists(zakaz):
                shutil.copy(zakaz, os.path.join(cwd, "zakaz.db"))
            for argv in (["copy-to-server"], ["copy-to-server"], ["check"], ["sync"], ["check"]):
                code, out, err = run([prices] + argv, cwd, "", env)
                record("server %d prices %s" % (s, " ".join(argv)), cwd, code, out, err, 1)
            lines = kit_session(rnd, args.lines // 2)
            code, out, err = run([kit], cwd, "\n".join(lines) + "\n", env)
            record("server %d kit session" % s, cwd, code, out, err, len(lines))
            for table in ("zeni", "zakaz"):
                dump = subprocess.run(psql + ["-d", dbname, "-c", "SELECT * FROM %s ORDER BY 1, 2, 3" % table],
                                      capture_output=True, text=True)
                report.append("--- server table %s: %s" % (table, hashlib.sha256(
                    (dump.stdout + dump.stderr).encode()).hexdigest()))
                counts["files"] += 1
            subprocess.run(psql + ["-d", "postgres", "-c", "DROP DATABASE %s" % dbname], check=True)

    with open(os.path.join(args.outdir, "answers.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(report) + "\n")
    print("runs %(runs)d, input lines %(lines)d, files digested %(files)d" % counts)


if __name__ == "__main__":
    main()
