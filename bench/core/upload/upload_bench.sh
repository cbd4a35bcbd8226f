#!/usr/bin/env bash
# Upload of the example site scaled to 2,500 pages to a local FTP server:
# webquill-publish --upload against lftp's "mirror -R" of the same folder,
# each into an empty folder of its own on the same server. Then the re-upload
# after a new publishing run of the unchanged source: --changed-only against
# lftp's "mirror -R --only-newer" (the run rewrote every page, so lftp sends
# them all again), in interleaved rounds; and one changed paragraph. As root,
# the same site over SFTP to an sshd of the benchmark's own (never the
# system's service), against lftp's mirror -R over sftp://: the median of
# interleaved runs (SFTP_RUNS, default 5).
# Usage: bench/core/upload/upload_bench.sh [BUILD_DIR] [ROUNDS]   (default: build 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
pages=2500
rounds="${2:-5}"
# The footers show the time of the run: a fixed one, as reproducible builds
# set, makes a run of the same source write the same pages.
export SOURCE_DATE_EPOCH=944352900 TZ=UTC
work="$(mktemp -d "${TMPDIR:-/tmp}/webquill-upload-bench-XXXXXX")"
server_pid=""
cut_pid=""
sshd_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$cut_pid" ] && kill "$cut_pid" 2>/dev/null
  [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null
  wait 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT

# The example's chapters repeated until the manual makes $pages pages.
cp -r "$root/examples" "$work/site"
python3 - "$work/site/manual.htm" "$pages" <<'PY'
import re, sys
path, pages = sys.argv[1], int(sys.argv[2])
text = open(path, encoding="latin-1").read()
chapters = re.findall(r"<!-- chapter -->.*?<!-- /chapter -->\r?\n", text, re.S)
start = text.index(chapters[0]); end = text.index(chapters[-1]) + len(chapters[-1])
body = "".join(chapters[i % len(chapters)] for i in range(pages))
open(path, "w", encoding="latin-1").write(text[:start] + body + text[end:])
PY
mkdir -p "$work/home/quill" "$work/home/lftp" "$work/config/Tessaly"
printf '[Preferences]\nImageFileFilter="*.svg"\n' > "$work/config/Tessaly/Webquill.conf"

/usr/bin/python3 "$root/tests/core/upload/ftp_test_server.py" --home "$work/home" --write-log "$work/writes" \
  > "$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port="$(awk '{print $2}' "$work/port")"
sed -i "s|^ExecuteSequence|FtpURL: ftp://127.0.0.1:$port\nUserID: webquill\nUserPW: secret\nWWWServerDir: quill\nTOCServerDir: quill\nExecuteSequence|" \
  "$work/site/manual.rul"
sed -i "s|^ImagesServerDir: images|ImagesServerDir: quill/images|" "$work/site/manual.rul"

cd "$work/site"
XDG_CONFIG_HOME="$work/config" "$build/app/webquill-publish" manual.rul > /dev/null
cp -r images "$work/out/example/"
now() { date +%s.%N; }
# The upload's share runs from "Initiating Connection" to the program's end:
# the publishing run before it writes 2,500 files and its time swings with
# the disk far more than the upload's.
# Prints the upload's seconds and its last message.
# From the program's output on standard input.
upload_seconds() {
  python3 -c '
import sys, time
start, last = None, b""
for line in iter(sys.stdin.buffer.readline, b""):
    if start is None and line.startswith(b"Initiating Connection"):
        start = time.time()
    last = line.strip()
print(time.time() - start, last.decode())
'
}
upload_share() {
  XDG_CONFIG_HOME="$work/config" "$build/app/webquill-publish" --upload "$@" manual.rul | upload_seconds
}
upload="$(upload_share --changed-only)"
t3=$(now)
mirror() {
  lftp -e "set cmd:fail-exit yes; mirror -R --no-perms $* $work/out/example /lftp; quit" \
    -u webquill,secret "ftp://127.0.0.1:$port" > /dev/null
}
mirror
t4=$(now)

ours=$(find "$work/home/quill" -type f | wc -l)
theirs=$(find "$work/home/lftp" -type f | wc -l)
python3 - "$t3" "$t4" "$ours" "$theirs" $upload <<'PY'
import sys
t3, t4 = map(float, sys.argv[1:3])
upload, sent = float(sys.argv[5]), " ".join(sys.argv[6:])
lftp = t4 - t3
print(f"webquill-publish --upload, upload share: {upload:7.2f} s, {sent}, {sys.argv[3]} files on the server")
print(f"lftp mirror -R:                          {lftp:7.2f} s, {sys.argv[4]} files on the server")
print(f"upload / lftp:                           {upload / lftp:7.2f}")
PY

# The same source published again, then uploaded by each: rounds of ours
# (its publishing run untimed) and lftp's (after a publishing run of its own).
stores() { grep -c '^STOR' "$work/writes" 2>/dev/null || true; }
publish() {
  XDG_CONFIG_HOME="$work/config" "$build/app/webquill-publish" manual.rul > /dev/null
  cp -r images "$work/out/example/"
}
: > "$work/timings"
for round in $(seq "$rounds"); do
  : > "$work/writes"
  read -r seconds message < <(upload_share --changed-only)
  echo "ours $seconds $(stores) $message" >> "$work/timings"
  publish
  : > "$work/writes"
  t5=$(now); mirror --only-newer; t6=$(now)
  echo "lftp $(python3 -c "print($t6 - $t5)") $(stores)" >> "$work/timings"
done

# One changed paragraph: the pages sent, of those the run wrote.
python3 - manual.htm <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="latin-1").read()
old = "All controls can be reached without tools."
open(path, "w", encoding="latin-1").write(text.replace(old, "Every control is in reach.", 1))
PY
: > "$work/writes"
changed="$(upload_share --changed-only)"
changed_stores=$(grep '^STOR' "$work/writes" | grep -vc webquill-manifest || true)

python3 - "$work/timings" "$changed_stores" $changed <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
ours = [float(r[1]) for r in rows if r[0] == "ours"]
lftp = [float(r[1]) for r in rows if r[0] == "lftp"]
ratios = [o / l for o, l in zip(ours, lftp)]
sent = sorted({r[2] for r in rows if r[0] == "ours"})
resent = sorted({r[2] for r in rows if r[0] == "lftp"})
message = " ".join(next(r[3:] for r in rows if r[0] == "ours"))
print(f"re-upload after a new publishing run, median of {len(ours)} interleaved rounds:")
print(f"  webquill-publish --upload --changed-only: {statistics.median(ours):7.3f} s, STORs {','.join(sent)}, {message}")
print(f"  lftp mirror -R --only-newer:             {statistics.median(lftp):7.3f} s, STORs {','.join(resent)}")
print(f"  ours / lftp (median of the rounds' ratios): {statistics.median(ratios):7.3f}   (goal: at most 0.1)")
print(f"one changed paragraph: {sys.argv[2]} page(s) sent, {float(sys.argv[3]):.3f} s, {' '.join(sys.argv[4:])}")
PY

# A run cut by a dropped connection halfway, then run again, into a server
# of its own: every file on it must equal the local one, and the manifest
# must say so.
mkdir -p "$work/cut"
/usr/bin/python3 "$root/tests/core/upload/ftp_test_server.py" --home "$work/cut" --drop page1250 --drop-once \
  > "$work/cut-port" &
cut_pid=$!
for _ in $(seq 50); do [ -s "$work/cut-port" ] && break; sleep 0.1; done
sed -i "s|^FtpURL: .*|FtpURL: ftp://127.0.0.1:$(awk '{print $2}' "$work/cut-port")|" manual.rul
cut_status=0
XDG_CONFIG_HOME="$work/config" "$build/app/webquill-publish" --upload --changed-only manual.rul > /dev/null 2>&1 ||
  cut_status=$?
rerun="$(upload_share --changed-only)"
python3 - "$work/cut" "$work/out/example" "$cut_status" $rerun <<'PY'
import hashlib, os, sys
home, local, status = sys.argv[1], sys.argv[2], sys.argv[3]
digest = lambda path: hashlib.sha256(open(path, "rb").read()).hexdigest()
lines = open(os.path.join(home, "quill", ".webquill-manifest")).read().splitlines()
entries = {l.split(" ", 3)[3]: l.split(" ", 3)[2] for l in lines if l.startswith("file ")}
mine = lambda p: os.path.join(local, p[len("/quill/"):] if p.startswith("/quill/") else p[1:])
wrong = [p for p, sha in entries.items() if digest(home + p) != sha or digest(mine(p)) != sha]
print(f"cut run (exit {status}) then rerun: {' '.join(sys.argv[5:])}; {len(entries)} files in the manifest, "
      f"{len(wrong)} differing from the local file or the server's")
PY

# SFTP: sshd serves logins only when started as root.
if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/sshd ]; then
  echo "SFTP: skipped (needs root and openssh-server)"
  exit 0
fi
runs="${SFTP_RUNS:-5}"
ssh="$work/ssh"
mkdir -p "$ssh/home" "$work/sftp-home/.ssh" "$work/sftp-config/Tessaly" /run/sshd
ssh-keygen -q -t ecdsa -N '' -f "$ssh/host_key"
ssh-keygen -q -t ecdsa -N '' -f "$ssh/user_key"
cp "$ssh/user_key.pub" "$ssh/authorized_keys"
sport="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
printf '%s\n' "ListenAddress 127.0.0.1" "Port $sport" "HostKey $ssh/host_key" "PidFile none" \
  "AuthorizedKeysFile $ssh/authorized_keys" "StrictModes no" "UsePAM no" "PasswordAuthentication no" \
  "KbdInteractiveAuthentication no" "PermitRootLogin prohibit-password" "Subsystem sftp internal-sftp" \
  "ForceCommand internal-sftp -d $ssh/home" > "$ssh/sshd_config"
/usr/sbin/sshd -D -f "$ssh/sshd_config" -E "$ssh/log" &
sshd_pid=$!
for _ in $(seq 100); do (exec 3<>"/dev/tcp/127.0.0.1/$sport") 2>/dev/null && break; sleep 0.05; done
echo "[127.0.0.1]:$sport $(cut -d' ' -f1,2 "$ssh/host_key.pub")" > "$work/sftp-home/.ssh/known_hosts"
printf '[Preferences]\nImageFileFilter="*.svg"\nSftpKeyFile=%s\n' "$ssh/user_key" \
  > "$work/sftp-config/Tessaly/Webquill.conf"
sed -e "s|^FtpURL: .*|FtpURL: sftp://127.0.0.1:$sport|" -e "s|^UserID: .*|UserID: root|" -e "/^UserPW: /d" \
  manual.rul > sftp.rul
ssh_command="ssh -a -x -i $ssh/user_key -o UserKnownHostsFile=$work/sftp-home/.ssh/known_hosts"
ssh_command+=" -o StrictHostKeyChecking=yes"

# Interleaved, each into empty folders: a disk or a neighbour slowing down
# for a while hits both sides alike.
ours_times=()
lftp_times=()
for run in $(seq "$runs"); do
  rm -rf "$ssh/home/quill" "$ssh/home/lftp"
  sent="$(HOME="$work/sftp-home" XDG_CONFIG_HOME="$work/sftp-config" "$build/app/webquill-publish" --upload sftp.rul |
    upload_seconds)"
  ours_times+=("${sent%% *}")
  t5=$(now)
  lftp -e "set cmd:fail-exit yes; set sftp:connect-program '$ssh_command'; mirror -R --no-perms $work/out/example lftp; quit" \
    -u root, "sftp://127.0.0.1:$sport" > /dev/null
  t6=$(now)
  lftp_times+=("$(python3 -c "print($t6 - $t5)")")
  printf 'SFTP run %d: webquill %.2f s (%s, %d files), lftp %.2f s (%d files)\n' "$run" "${sent%% *}" "${sent#* }" \
    "$(find "$ssh/home/quill" -type f | wc -l)" "${lftp_times[-1]}" "$(find "$ssh/home/lftp" -type f | wc -l)"
done
python3 - "${ours_times[*]}" "${lftp_times[*]}" <<'PY'
import statistics, sys
ours = statistics.median(map(float, sys.argv[1].split()))
lftp = statistics.median(map(float, sys.argv[2].split()))
print(f"SFTP webquill-publish --upload, median upload share: {ours:7.2f} s")
print(f"SFTP lftp mirror -R over sftp://, median:           {lftp:7.2f} s")
print(f"SFTP upload / lftp:                                 {ours / lftp:7.2f}")
PY
