#!/usr/bin/env bash
# Signs Windows programs in place (Authenticode, SHA-256) with osslsigncode, for a release. It needs
# only osslsigncode and the certificate and key it is given; it never makes or looks for either.
#   WHIRLBOX_SIGN_CERT=cert.pem WHIRLBOX_SIGN_KEY=key.pem scripts/sign.sh build/windows32/whirlbox-setup.exe ...
# WHIRLBOX_SIGN_PASSWORD_FILE names a file holding the key's password (for an encrypted key);
# WHIRLBOX_SIGN_TIMESTAMP a timestamp server's URL, so that the signature outlives the certificate.
# A file that cannot be signed is left as it was; the exit code is then 1 (2 for a usage error).
set -u
[ $# -gt 0 ] || { echo "usage: WHIRLBOX_SIGN_CERT=... WHIRLBOX_SIGN_KEY=... $0 FILE..." >&2; exit 2; }
cert=${WHIRLBOX_SIGN_CERT:-} key=${WHIRLBOX_SIGN_KEY:-}
[ -f "$cert" ] || { echo "sign.sh: WHIRLBOX_SIGN_CERT names no certificate file ('$cert')" >&2; exit 2; }
[ -f "$key" ] || { echo "sign.sh: WHIRLBOX_SIGN_KEY names no key file ('$key')" >&2; exit 2; }
options=(-certs "$cert" -key "$key" -h sha256 -n WhirlBox)
if [ -n "${WHIRLBOX_SIGN_PASSWORD_FILE:-}" ]; then
  [ -f "$WHIRLBOX_SIGN_PASSWORD_FILE" ] ||
    { echo "sign.sh: WHIRLBOX_SIGN_PASSWORD_FILE names no file ('$WHIRLBOX_SIGN_PASSWORD_FILE')" >&2; exit 2; }
  options+=(-readpass "$WHIRLBOX_SIGN_PASSWORD_FILE")
fi
[ -z "${WHIRLBOX_SIGN_TIMESTAMP:-}" ] || options+=(-ts "$WHIRLBOX_SIGN_TIMESTAMP")

status=0
for file in "$@"; do
  # Signed into a new file that replaces the original only once it is complete.
  if osslsigncode sign "${options[@]}" -in "$file" -out "$file.signing" >/dev/null && mv -f "$file.signing" "$file"; then
    echo "signed $file"
  else
    rm -f "$file.signing"
    echo "sign.sh: could not sign $file" >&2
    status=1
  fi
done
exit $status
