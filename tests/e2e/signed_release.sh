#!/usr/bin/env bash
# scripts/release.sh with throwaway keys: a CA made here with a code-signing and a time-stamping
# certificate; the release signed from a .pfx (time-stamped by a responder on 127.0.0.1) and from the
# same key in a SoftHSM2 token, each verified against the CA and giving back the built bytes without
# its signature; a wrong password and a wrong PIN fail and leave the release folder empty; the signed
# launcher is run once under Wine by an end-to-end scenario.
#   signed_release.sh BUILT_TELESKARN_EXE RUN_E2E_COMMAND...
set -euo pipefail
release=$(cd "$(dirname "$0")/../.." && pwd)/scripts/release.sh
built=$(realpath "${1:?the built Teleskarn.exe}"); shift
t=$(mktemp -d)
tsa_pid=
trap '[ -z "$tsa_pid" ] || kill "$tsa_pid"; rm -rf "$t"' EXIT
cd "$t"
fail() { echo "FAIL: $*" >&2; exit 1; }
PASSWORD="pfx pass $RANDOM$RANDOM" PIN=pin$RANDOM$RANDOM URL=https://teleskarn.example/ out=$t/release

# The throwaway CA and its two certificates.
quiet() { "$@" >/dev/null 2>&1 || fail "$*"; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=Throwaway-CA \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign
issue() {  # NAME EXTENDED-KEY-USAGE
  quiet openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=Throwaway $1"
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$2" >"$1.ext"
  quiet openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile "$1.ext" -out "$1.pem"
}
issue publisher codeSigning
issue tsa critical,timeStamping
echo "$PASSWORD" >password.txt; echo wrong >wrong.txt; echo "$PIN" >pin.txt
quiet openssl pkcs12 -export -inkey publisher.key -in publisher.pem -out publisher.pfx -passout file:password.txt

# The RFC 3161 responder: each POSTed query answered by openssl ts -reply.
cat >ts.cnf <<CONF
[tsa]
default_tsa = throwaway
[throwaway]
serial = $t/tsa.serial
signer_cert = tsa.pem
signer_key = tsa.key
certs = ca.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256
ess_cert_id_alg = sha256
CONF
python3 -c '
import http.server, os, subprocess
class Tsa(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", "ts.cnf", "-queryfile", "/dev/stdin",
                                "-out", "/dev/stdout"], input=query, capture_output=True).stdout
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)
    def log_message(self, *args): pass
server = http.server.HTTPServer(("127.0.0.1", 0), Tsa)
open("port.tmp", "w").write(str(server.server_address[1]))
os.rename("port.tmp", "port")
server.serve_forever()' &
tsa_pid=$!
for _ in $(seq 100); do [ -f port ] && break; sleep 0.1; done
[ -f port ] || fail "the time stamp responder did not start"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

# A signed release must verify against the CA, name the program and the URL, and hold the built bytes.
check_release() {  # WHAT, then words its verification must show
  local what=$1; shift
  (cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "$what: SHA256SUMS does not match"
  osslsigncode verify -CAfile ca.pem -TSA-CAfile ca.pem -in "$out/Teleskarn.exe" >"$what.verify" 2>&1 ||
    fail "$what: the signature does not verify: $(cat "$what.verify")"
  for want in "Text description: Teleskarn" "URL description: $URL" "$@"; do
    grep -qF "$want" "$what.verify" || fail "$what: the verification does not show \"$want\": $(cat "$what.verify")"
  done
  rm -f unsigned.exe
  osslsigncode remove-signature -in "$out/Teleskarn.exe" -out unsigned.exe >/dev/null
  cmp unsigned.exe "$built" || fail "$what: without the signature the file is not the build's"
}
# A failed release says why in its last line and leaves nothing in the release folder.
check_refused() {  # WHAT MESSAGE
  tail -n1 "$1.log" | grep -qF "$2" || fail "$1: no clear message: $(cat "$1.log")"
  [ -z "$(ls -A "$out")" ] || fail "$1: left in the release folder: $(ls -A "$out")"
}

"$release" --pfx publisher.pfx --password-file password.txt --timestamp "http://127.0.0.1:$(cat port)/" \
  --url "$URL" --out "$out" >pfx.log 2>&1 || fail "release from the .pfx: $(cat pfx.log)"
check_release pfx "Timestamp Server Signature verification: ok"
mkdir signed && cp "$out/Teleskarn.exe" signed/
! "$release" --pfx publisher.pfx --password-file wrong.txt --url "$URL" --out "$out" >pfx-wrong.log 2>&1 ||
  fail "a wrong password was taken"
check_refused pfx-wrong "the password in wrong.txt does not open publisher.pfx"

# The same key in a token, reached through its PKCS#11 module.
export SOFTHSM2_CONF=$t/softhsm2.conf
mkdir tokens && printf 'directories.tokendir = %s/tokens\nobjectstore.backend = file\n' "$t" >"$SOFTHSM2_CONF"
quiet softhsm2-util --init-token --free --label release-test --pin "$PIN" --so-pin "$PIN"
quiet softhsm2-util --import publisher.key --token release-test --label publisher --id 01 --pin "$PIN"
module=$(find /usr/lib -name libsofthsm2.so -path '*softhsm*' | head -n1)
token=(--pkcs11-module "$module" --key "pkcs11:token=release-test;object=publisher;type=private"
       --cert publisher.pem --url "$URL" --out "$out")
"$release" "${token[@]}" --pin-file pin.txt >token.log 2>&1 || fail "release from the token: $(cat token.log)"
check_release token
tail -n2 token.log | grep -q "^no time stamp" || fail "token: no word of the missing time stamp: $(cat token.log)"
! "$release" "${token[@]}" --pin-file wrong.txt >token-wrong.log 2>&1 || fail "a wrong PIN was taken"
check_refused token-wrong "the token did not take the PIN in wrong.txt"

! grep -lF -e "$PASSWORD" -e "$PIN" ./*.log || fail "a password or PIN is in the output: see the files named above"

# The signed launcher starts under Wine and works: its dialog comes up, Enter starts the tool.
"$@" --launcher signed/Teleskarn.exe launch -k test_enter_acts_as_ok 2>&1 | tee e2e.log
grep -q "^Ran 1 test" e2e.log || fail "the end-to-end scenario did not run"
