#!/usr/bin/env python3
"""The world ranking's server, on SQLite and on a throwaway PostgreSQL:
games recorded by pellmora-sim are accepted only as the sim itself verifies
them, ranked by score, stored once, kept through a SIGKILL, refused with the
second they desync; the rate limit; a database stopped and started again.

    ranking_server.py SERVER SIM
"""
import concurrent.futures
import glob
import json
import os
import pwd
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

server_bin, sim = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="ranking-")
os.chmod(work, 0o755)  # PostgreSQL runs as its own user in here
failures = []
started = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what, flush=True)


def call(url, body=None):
    """(status, headers, body) of one request; never raises for a status."""
    request = urllib.request.Request(url, data=body, method="POST" if body is not None else "GET")
    if body is not None:
        request.add_header("Content-Type", "application/x-pellmora-replay")
    try:
        with urllib.request.urlopen(request, timeout=20) as answer:
            return answer.status, answer.headers, answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers, error.read()


def as_json(answer):
    try:
        return json.loads(answer[2])
    except ValueError:
        return {}


class Server:
    def __init__(self, *store, limit="0"):
        self.process = subprocess.Popen(
            [server_bin, "--listen", "127.0.0.1:0", *store, "--submissions-per-minute", limit],
            stdout=subprocess.PIPE, text=True)
        started.append(self.process)
        line = self.process.stdout.readline()
        port = re.search(r"127\.0\.0\.1:(\d+)/", line)
        if not port:
            raise SystemExit(f"FAILED: the server did not say where it listens: {line!r}")
        self.url = f"http://127.0.0.1:{port.group(1)}/api/v1/"

    def post(self, replay):
        return call(self.url + "games", replay)

    def get(self, path):
        return call(self.url + path)

    def stop(self, sig=signal.SIGTERM):
        self.process.send_signal(sig)
        self.process.wait(timeout=10)


# The oracle is pellmora-sim: what the script printed, and what --verify says.
def record(seed, milliseconds):
    path = os.path.join(work, f"game{seed}.pellmora-replay")
    script = os.path.join(work, f"game{milliseconds}.scn")
    with open(script, "w") as out:
        out.write(f"wait 1305\nclick Command1\nautopilot on\nwait {milliseconds}\n"
                  "autopilot off\nwait 60000\nprint score\n")
    printed = subprocess.run([sim, "--seed", str(seed), "--record", path, script],
                             capture_output=True, text=True, check=True).stdout
    with open(path, "rb") as replay:
        return replay.read(), int(re.search(r"^score=(-?\d+)$", printed, re.M).group(1))


def verify(replay):
    path = os.path.join(work, "check.pellmora-replay")
    with open(path, "wb") as out:
        out.write(replay)
    return subprocess.run([sim, "--verify", path], capture_output=True, text=True).stdout.strip()


games = [record(seed, 20000) for seed in range(1, 4)]
stream = [record(seed, 1500) for seed in range(100, 160)]


def one_byte_desync(replay):
    """A copy changed by one byte that the sim says differs at a second."""
    header_end = replay.index(b"\n\n") + 2
    for at in range(header_end, len(replay)):
        changed = bytearray(replay)
        changed[at] ^= 0x10
        said = verify(bytes(changed))
        if said.startswith("differs at second "):
            return bytes(changed), said.rsplit(" ", 1)[1]
    raise SystemExit("FAILED: no one-byte change desyncs the game")


def ranked(server):
    table = as_json(server.get("ranking?limit=100"))
    return {"games": table.get("games", []), "total": table.get("total")}


def submissions_survive_sigkill(server, restart, tag):
    """Games answered 201 before a SIGKILL are all ranked after a restart."""
    answered = {}
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        pending = [pool.submit(server.post, replay) for replay, _ in stream]
        for future, (_, score) in zip(pending, stream):
            try:
                status, _, body = future.result()
            except OSError:
                continue
            if status == 201:
                answered[json.loads(body)["id"]] = score
            if len(answered) == 25:
                server.process.kill()
    server.process.wait()
    check(25 <= len(answered) < len(stream), f"{tag}: the kill did not land mid-stream ({len(answered)})")
    again = restart()
    kept = {game["id"]: game["score"] for game in ranked(again)["games"]}
    lost = {id: score for id, score in answered.items() if kept.get(id) != score}
    check(not lost, f"{tag}: games answered 201 lost by a SIGKILL: {lost}")
    return again


def plays_by_the_rules(server, tag):
    scores, ids = [], []
    for replay, score in games:
        status, _, body = server.post(replay)
        game = as_json((0, 0, body))
        check(status == 201 and game.get("score") == score, f"{tag}: a game of {score}: {status} {body}")
        scores.append(score)
        ids.append(game.get("id"))
    table = ranked(server)
    check([g["score"] for g in table["games"]] == sorted(scores, reverse=True)
          and [g["rank"] for g in table["games"]] == [1, 2, 3],
          f"{tag}: the ranking is not best first: {table}")
    best = table["games"][0]
    status, _, replay = server.get(f"games/{best['id']}/replay")
    check(status == 200 and verify(replay) == f"ok {best['score']}",
          f"{tag}: the kept replay of {best} does not re-run to its score")

    # The same game twice, or renamed, is the first one.
    renamed = games[0][0].replace(b"\nname \n", "\nname ナナシ\x01さん〜\n".encode(), 1)
    for copy in (games[0][0], renamed):
        status, _, body = server.post(copy)
        check(status == 200 and as_json((0, 0, body)).get("id") == ids[0],
              f"{tag}: a game sent again was not answered with its first id: {status} {body}")
    check(ranked(server)["total"] == 3, f"{tag}: a game sent twice is stored twice")

    changed, second = one_byte_desync(games[1][0])
    status, _, body = server.post(changed)
    refusal = as_json((0, 0, body))
    check(status == 422 and f"second {second}" in refusal.get("error", "")
          and refusal.get("reason") == "differs" and str(refusal.get("second")) == second,
          f"{tag}: a one-byte change the sim finds at second {second}: {status} {body}")
    newer = games[1][0].replace(b"\nrules 1\n", b"\nrules 9\n", 1)
    status, _, body = server.post(newer)
    check(status == 409 and as_json((0, 0, body)).get("rules") == [1], f"{tag}: other rules: {status} {body}")

    # A new player's name goes through the game's clean-up of names.
    fresh, score = record(7, 20000)
    status, _, body = server.post(fresh.replace(b"\nname \n", "\nname ナナシ\x01さん〜\n".encode(), 1))
    check(status == 201 and json.loads(body)["name"] == "ナナシ さん～",
          f"{tag}: a name not cleaned as the game cleans it: {status} {body}")


def with_sqlite():
    data = os.path.join(work, "sqlite")
    server = Server("--data", data)
    plays_by_the_rules(server, "SQLite")
    server = submissions_survive_sigkill(server, lambda: Server("--data", data), "SQLite")
    top = ranked(server)["games"][0]["id"]
    removed = subprocess.run([server_bin, "--data", data, "remove", str(top)], capture_output=True)
    check(removed.returncode == 0 and top not in [g["id"] for g in ranked(server)["games"]]
          and server.get(f"games/{top}/replay")[0] == 404, "SQLite: remove ID left the game ranked")
    server.stop()

    limited = Server("--data", os.path.join(work, "limited"), limit="2")
    answers = [limited.post(replay) for replay, _ in stream[:3]]
    retry = answers[2][1].get("Retry-After", "")
    check([a[0] for a in answers] == [201, 201, 429] and retry.isdigit() and int(retry) >= 1,
          f"rate limit of 2 a minute: {[a[0] for a in answers]}, Retry-After {retry!r}")
    limited.stop()


def postgres_bin(name):
    found = sorted(glob.glob(f"/usr/lib/postgresql/*/bin/{name}"),
                   key=lambda path: int(path.split("/")[4]))
    return found[-1] if found else shutil.which(name) or name


def as_postgres(*command):
    """initdb and postgres refuse root: run them as the postgres user then."""
    if os.geteuid() == 0:
        command = ("runuser", "-u", "postgres", "--", *command)
    return subprocess.run(command, capture_output=True, text=True)


def with_postgres():
    folder = os.path.join(work, "postgres")
    os.mkdir(folder)
    if os.geteuid() == 0:
        os.chown(folder, pwd.getpwnam("postgres").pw_uid, -1)
    made = as_postgres(postgres_bin("initdb"), "-D", folder + "/data", "-A", "trust", "-U",
                       "pellmora", "--no-sync")
    check(made.returncode == 0, f"initdb: {made.stderr}")
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    pg_ctl = postgres_bin("pg_ctl")
    options = f"-p {port} -k {folder} -c listen_addresses=127.0.0.1"

    def start():
        started = as_postgres(pg_ctl, "-D", folder + "/data", "-o", options, "-l",
                              folder + "/log", "-w", "start")
        check(started.returncode == 0, f"PostgreSQL did not start: {started.stderr}")

    def stop():
        as_postgres(pg_ctl, "-D", folder + "/data", "-m", "fast", "-w", "stop")

    start()
    try:
        url = f"postgresql://pellmora@127.0.0.1:{port}/postgres"
        server = Server("--database", url)
        plays_by_the_rules(server, "PostgreSQL")
        server = submissions_survive_sigkill(server, lambda: Server("--database", url),
                                             "PostgreSQL")
        stop()
        status, headers, _ = server.post(games[0][0])
        check(status == 503 and headers.get("Retry-After", "").isdigit(),
              f"PostgreSQL stopped: {status}, Retry-After {headers.get('Retry-After')!r}")
        start()
        status, _, body = server.post(record(8, 20000)[0])
        check(status == 201, f"PostgreSQL back: the server did not recover: {status} {body}")
        # A second server on the same database ranks what the first stored.
        other = Server("--database", url)
        check(ranked(other) == ranked(server) and as_json((0, 0, body)).get("id") in
              [g["id"] for g in ranked(other)["games"]], "two servers on one database disagree")
        other.stop()
        server.stop()
    finally:
        stop()


try:
    with_sqlite()
    with_postgres()
finally:
    for process in started:
        process.kill()
    shutil.rmtree(work, ignore_errors=True)
print(f"{len(failures)} failed" if failures else "ok")
sys.exit(1 if failures else 0)
