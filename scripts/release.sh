#!/usr/bin/env bash
# Builds the shipped Teleskarn.exe (the reproducible Windows build) and puts it in build/release/ with
# a SHA256SUMS file; given a key, signs it first (Authenticode, SHA-256, osslsigncode):
#   release.sh                                                     unsigned
#   release.sh --pfx FILE --password-file FILE [OPTIONS]           key and certificate in a .pfx/.p12 file
#   release.sh --pkcs11-module LIB --key URI --cert FILE --pin-file FILE [OPTIONS]
#                                                                  key in a token or HSM (a PKCS#11 URI,
#                                                                  e.g. "pkcs11:token=NAME;object=LABEL"),
#                                                                  its certificate from a file
# OPTIONS: --timestamp URL   an RFC 3161 time stamp, so that the signature outlives the certificate
#          --url URL         the publisher's web address, carried in the signature
#          --out DIR         another release folder than build/release
# Passwords and PINs are read from files by osslsigncode and openssl themselves (-readpass, -passin
# file:): only the file names are ever on a command line, so no process listing shows a secret.
# A failed run leaves no Teleskarn.exe and no SHA256SUMS in the release folder: the file is signed and
# checked in a staging folder beside it and moved in only when everything has passed.
# Installs what is missing first (Debian).
set -euo pipefail
# Files named on the command line are taken relative to the current directory.
root=$(cd "$(dirname "$0")/.." && pwd)
NAME=Teleskarn

die() { echo "release: $*" >&2; exit 1; }
usage() { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

pfx= password_file= module= key= cert= pin_file= timestamp= url= out=$root/build/release
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
  --pfx) pfx=$2 ;;
  --password-file) password_file=$2 ;;
  --pkcs11-module) module=$2 ;;
  --key) key=$2 ;;
  --cert) cert=$2 ;;
  --pin-file) pin_file=$2 ;;
  --timestamp) timestamp=$2 ;;
  --url) url=$2 ;;
  --out) out=$2 ;;
  *) usage ;;
  esac
  shift 2
done

# Nothing of an earlier release stays to be mistaken for this one's, even when this one fails.
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/$NAME.exe" "$out/SHA256SUMS"

readable() { [ -f "$2" ] && [ -r "$2" ] || die "cannot read the $1: $2"; }
mode=unsigned
if [ -n "$pfx" ]; then
  [ -z "$module$key$cert$pin_file" ] || die "--pfx and --pkcs11-module exclude each other"
  [ -n "$password_file" ] || die "--pfx needs --password-file FILE (the password is read from the file only)"
  readable ".pfx file" "$pfx"; readable "password file" "$password_file"
  mode=pfx
elif [ -n "$module$key$cert$pin_file" ]; then
  [ -n "$module" ] && [ -n "$key" ] && [ -n "$cert" ] && [ -n "$pin_file" ] ||
    die "a token needs all of --pkcs11-module LIB --key URI --cert FILE --pin-file FILE"
  [ -z "$password_file" ] || die "--password-file goes with --pfx; a token's PIN comes with --pin-file"
  case "$key" in *pin-value=*) die "the key URI must not hold the PIN: give it with --pin-file" ;; esac
  readable "PKCS#11 module" "$module"; readable certificate "$cert"; readable "PIN file" "$pin_file"
  mode=token
elif [ -n "$password_file$timestamp$url" ]; then
  die "--password-file, --timestamp and --url need a key (--pfx or --pkcs11-module)"
fi

"$root/scripts/deps.sh"
stage=$(mktemp -d "$(dirname "$out")/.release-XXXXXX")
trap 'rm -rf "$stage"' EXIT

# The signing certificate must be one for code signing and still valid.
if [ "$mode" = pfx ]; then
  # OpenSSL 3 opens older .pfx files (RC2, 3DES) only with its legacy provider.
  openssl pkcs12 -in "$pfx" -passin "file:$password_file" -nokeys -clcerts -out "$stage/cert.pem" 2>/dev/null ||
    openssl pkcs12 -legacy -in "$pfx" -passin "file:$password_file" -nokeys -clcerts -out "$stage/cert.pem" 2>/dev/null ||
    die "the password in $password_file does not open $pfx (wrong password, or no .pfx/.p12 file)"
elif [ "$mode" = token ]; then
  openssl x509 -in "$cert" -out "$stage/cert.pem" 2>/dev/null ||
    openssl x509 -inform DER -in "$cert" -out "$stage/cert.pem" 2>/dev/null ||
    die "no certificate (PEM or DER) in $cert"
fi
if [ "$mode" != unsigned ]; then
  subject=$(openssl x509 -in "$stage/cert.pem" -noout -subject -nameopt oneline | sed 's/^subject= *//')
  openssl x509 -in "$stage/cert.pem" -noout -ext extendedKeyUsage 2>/dev/null | grep -q 'Code Signing' ||
    die "the certificate \"$subject\" is not for code signing (its extended key usage lacks codeSigning)"
  openssl x509 -in "$stage/cert.pem" -noout -checkend 0 >/dev/null ||
    die "the certificate \"$subject\" expired on $(openssl x509 -in "$stage/cert.pem" -noout -enddate | cut -d= -f2)"
fi

(cd "$root" && cmake --preset windows >/dev/null && cmake --build --preset windows -j2 --target "$NAME" >/dev/null)
built=$root/build/windows/$NAME.exe

if [ "$mode" = unsigned ]; then
  cp "$built" "$stage/$NAME.exe"
else
  if [ "$mode" = pfx ]; then
    keyargs=(-pkcs12 "$pfx" -readpass "$password_file")
  else
    # The PKCS#11 engine (libengine-pkcs11-openssl) loads the module; osslsigncode hands it the PIN.
    keyargs=(-pkcs11module "$module" -certs "$cert" -key "$key" -readpass "$pin_file")
  fi
  signargs=(-h sha256 -n "$NAME")
  [ -z "$url" ] || signargs+=(-i "$url")
  [ -z "$timestamp" ] || signargs+=(-ts "$timestamp")
  if ! osslsigncode sign "${keyargs[@]}" "${signargs[@]}" -in "$built" -out "$stage/$NAME.exe" \
       </dev/null >"$stage/sign.log" 2>&1; then
    sed 's/^/  /' "$stage/sign.log" >&2
    log=$stage/sign.log
    if grep -q 'PIN incorrect' "$log"; then die "the token did not take the PIN in $pin_file"
    elif grep -q 'PIN locked' "$log"; then die "the token's PIN is locked"
    elif grep -q 'private key was not found\|object not found' "$log"; then die "no private key at $key"
    elif grep -q 'Wrong password' "$log"; then die "the password in $password_file does not open $pfx"
    elif [ -n "$timestamp" ] && grep -qi 'timestamp\|connect' "$log"; then
      die "no time stamp from $timestamp (the server did not answer or refused)"
    else die "osslsigncode could not sign $built"
    fi
  fi
  # The signature is all that was added: without it, the bytes are the reproducible build's.
  osslsigncode remove-signature -in "$stage/$NAME.exe" -out "$stage/unsigned.exe" >/dev/null 2>&1 &&
    cmp -s "$built" "$stage/unsigned.exe" || die "the signed file holds more than the build and its signature"
  rm "$stage/unsigned.exe"
fi

(cd "$stage" && sha256sum "$NAME.exe" >SHA256SUMS)
mv "$stage/$NAME.exe" "$out/$NAME.exe"
mv "$stage/SHA256SUMS" "$out/SHA256SUMS"
case "$mode" in
unsigned) echo "unsigned: sign with --pfx FILE --password-file FILE, or with a token (--pkcs11-module ...)" ;;
*) echo "signed by \"$subject\"" ;;
esac
[ "$mode" = unsigned ] || [ -n "$timestamp" ] ||
  echo "no time stamp: the signature is trusted only while the certificate is valid (--timestamp URL adds one)"
echo "$out/$NAME.exe: $(cut -d' ' -f1 "$out/SHA256SUMS")"
