#!/bin/sh
# Generates the test PKI used by the TLS peers. Run once; the output is committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/certs"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# openssl 3.0's x509 -req has no fixed start date, so dates go through `openssl ca`.
mkdir -p "$tmp/new"
: > "$tmp/index.txt"
echo 1000 > "$tmp/serial"
cat > "$tmp/ca.cnf" <<CNF
[ ca ]
default_ca = testca
[ testca ]
dir = $tmp
database = \$dir/index.txt
serial = \$dir/serial
new_certs_dir = \$dir/new
certificate = $out/ca.pem
private_key = $out/ca.key
default_md = sha256
policy = anything
unique_subject = no
copy_extensions = none
email_in_dn = no
[ anything ]
commonName = supplied
[ req ]
distinguished_name = dn
prompt = no
[ dn ]
CN = Test Root CA
[ v3_ca ]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[ leaf_local ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = DNS:localhost, IP:127.0.0.1
[ leaf_other ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = DNS:other.example
[ self ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
subjectAltName = DNS:localhost, IP:127.0.0.1
CNF

key() { openssl genrsa -out "$out/$1.key" 2048 2>/dev/null; }

key ca
openssl req -new -key "$out/ca.key" -config "$tmp/ca.cnf" -out "$tmp/ca.csr"
openssl ca -batch -selfsign -config "$tmp/ca.cnf" -extensions v3_ca -notext \
    -keyfile "$out/ca.key" -in "$tmp/ca.csr" -out "$out/ca.pem" \
    -startdate 20250101000000Z -enddate 20550101000000Z 2>/dev/null
openssl x509 -in "$out/ca.pem" -outform DER -out "$out/ca.der"

# leaf <name> <cn> <ext-section> <start> <end>
leaf() {
    key "$1"
    openssl req -new -key "$out/$1.key" -subj "/CN=$2" -out "$tmp/$1.csr"
    openssl ca -batch -config "$tmp/ca.cnf" -extensions "$3" -notext \
        -in "$tmp/$1.csr" -out "$out/$1.pem" -startdate "$4" -enddate "$5" 2>/dev/null
}
leaf good localhost leaf_local 20250101000000Z 20550101000000Z
leaf wrong_name other.example leaf_other 20250101000000Z 20550101000000Z
leaf expired localhost leaf_local 20200101000000Z 20210101000000Z

# Self-signed: signed by its own key, so no chain to the test root.
key self_signed
openssl req -new -key "$out/self_signed.key" -subj "/CN=localhost" -out "$tmp/self.csr"
openssl ca -batch -selfsign -config "$tmp/ca.cnf" -extensions self -notext \
    -keyfile "$out/self_signed.key" -in "$tmp/self.csr" -out "$out/self_signed.pem" \
    -startdate 20250101000000Z -enddate 20550101000000Z 2>/dev/null

chmod 644 "$out"/*
echo "certificates written to $out"
