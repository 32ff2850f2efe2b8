#!/usr/bin/env bash
# Makes the certificates the HTTPS tests serve, in DIR, new for every run:
#   ca.pem             the authority the update is told to trust
#   good.pem/.key      127.0.0.1's certificate from it
#   other-host.pem     a certificate from it for another host name
#   expired.pem        127.0.0.1's certificate from it, valid in 2020 only
#   unknown.pem        127.0.0.1's certificate from an authority nobody trusts
# Every certificate shares good.key.
# Usage: make_tls_certificates.sh DIR
set -euo pipefail
cd "$1"

key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }
authority() {
    key "$1.key"
    openssl req -x509 -new -key "$1.key" -out "$1.pem" -days 2 -subj "/CN=Vantrel test $1" 2>/dev/null
}

cat > ca.cnf <<'CNF'
[ca]
default_ca = test
[test]
database = index.txt
serial = serial
new_certs_dir = .
default_md = sha256
policy = any
unique_subject = no
x509_extensions = leaf
[any]
commonName = supplied
[leaf]
subjectAltName = ${ENV::SAN}
basicConstraints = CA:FALSE
extendedKeyUsage = serverAuth
CNF

# leaf AUTHORITY SAN OUT [openssl ca options...]
leaf() {
    local authority=$1 san=$2 out=$3
    shift 3
    : > index.txt
    echo 01 > serial
    SAN=$san openssl ca -batch -notext -config ca.cnf -cert "$authority.pem" -keyfile "$authority.key" \
        -in good.csr -out "$out" "$@" 2>/dev/null
}

authority ca
authority stranger
key good.key
openssl req -new -key good.key -out good.csr -subj /CN=127.0.0.1 2>/dev/null
leaf ca IP:127.0.0.1 good.pem -days 2
leaf ca DNS:other.example other-host.pem -days 2
leaf ca IP:127.0.0.1 expired.pem -startdate 20200101000000Z -enddate 20200102000000Z
leaf stranger IP:127.0.0.1 unknown.pem -days 2
