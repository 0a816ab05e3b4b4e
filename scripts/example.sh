#!/usr/bin/env bash
# Converts the example print request (examples/suite: a two-page invoice and
# its copy for the archive) into its HTA document and prints the document's
# path. Installs what is missing and builds the native program first.
#
# The run happens on a copy of the suite folder in a temporary folder, so the
# example itself stays as it is. Nothing is printed or mailed for real: the
# command interpreter (COMSPEC) and the mail program (ZIRIDU in ZALEXE) are
# small stand-ins that only say what they were handed.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/bootstrap.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/zalprint-example.XXXXXX")
cp -r examples/suite "$work/suite"
mkdir "$work/bin"

cat >"$work/bin/comspec" <<'EOF'
#!/bin/sh
# Stand-in for the command interpreter: zalprint hands it "/C RERADA <document>".
echo "command interpreter would run: $*"
EOF
cat >"$work/bin/ZIRIDU" <<'EOF'
#!/bin/sh
# Stand-in for the suite's mail program.
echo "ZIRIDU would send the document by mail"
EOF
chmod +x "$work/bin/comspec" "$work/bin/ZIRIDU"

(
    cd "$work"
    ZALTMP="$work/suite" TERM="$work/suite/T01" ZALEXE="$work/bin/" COMSPEC="$work/bin/comspec" \
        "$root/build/native/zalprint"
)

document=$(find "$work/suite" -maxdepth 1 -name '*.hta' | head -n 1)
if [ -z "$document" ]; then
    echo "example: no document was written in $work/suite" >&2
    exit 1
fi
echo "$document"
