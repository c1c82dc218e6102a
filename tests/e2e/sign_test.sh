#!/usr/bin/env bash
# scripts/sign.sh with a throwaway self-signed certificate made here: copies of the setup program and of
# the saver come out signed, as `osslsigncode verify` reports, while an unsigned file fails the same
# check; an encrypted key is opened through the password file; a missing certificate is a usage error.
#   sign_test.sh <whirlbox-setup.exe> <whirlbox.scr>
set -u
setup=$1 saver=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
signed_by_test() {  # <file>: verify succeeds and names the test certificate
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" > "$work/verify.out" 2>&1 &&
    grep -q 'Signature verification: ok' "$work/verify.out" && grep -q 'CN *= *WhirlBox test signer' "$work/verify.out"
}

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=WhirlBox test signer' -addext 'extendedKeyUsage=codeSigning' \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null || { echo "FAIL: openssl could not make a certificate"; exit 1; }
cp "$setup" "$work/whirlbox-setup.exe"
cp "$saver" "$work/whirlbox.scr"
check "the unsigned setup program fails the check" "! signed_by_test '$setup'"
WHIRLBOX_SIGN_CERT="$work/cert.pem" WHIRLBOX_SIGN_KEY="$work/key.pem" \
  "$src/scripts/sign.sh" "$work/whirlbox-setup.exe" "$work/whirlbox.scr" > "$work/sign.out" 2>&1
check "sign.sh succeeds" "[ $? -eq 0 ]"
check "the signed setup program passes the check" "signed_by_test '$work/whirlbox-setup.exe'"
check "the signed saver passes the check" "signed_by_test '$work/whirlbox.scr'"

printf 'not-a-secret\n' > "$work/password"
openssl pkey -in "$work/key.pem" -aes256 -passout "file:$work/password" -out "$work/encrypted.pem"
cp "$saver" "$work/again.scr"
WHIRLBOX_SIGN_CERT="$work/cert.pem" WHIRLBOX_SIGN_KEY="$work/encrypted.pem" WHIRLBOX_SIGN_PASSWORD_FILE="$work/password" \
  "$src/scripts/sign.sh" "$work/again.scr" >> "$work/sign.out" 2>&1
check "an encrypted key signs with the password file" "signed_by_test '$work/again.scr'"

cp "$saver" "$work/untouched.scr"
WHIRLBOX_SIGN_CERT="$work/none.pem" WHIRLBOX_SIGN_KEY="$work/key.pem" "$src/scripts/sign.sh" "$work/untouched.scr" \
  >> "$work/sign.out" 2>&1
check "a missing certificate is a usage error (2) that leaves the file alone" \
  "[ $? -eq 2 ] && cmp -s '$saver' '$work/untouched.scr'"

[ "$failures" -eq 0 ] || { echo "$failures signing checks failed"; cat "$work/sign.out" "$work/verify.out"; exit 1; }
echo "signing works"
