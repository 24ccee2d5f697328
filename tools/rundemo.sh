#!/bin/sh
# rundemo.sh BUILD ID: starts the program as workstation ID on the demo installation BUILD/demo
# (what `make run` does). When the demo's first company has signing on and no stand-in signing
# server serves its exchange folder yet, one is started in the background (its log: SIGNSRV.LOG in
# the demo folder) and stopped when this workstation ends; a workstation started while one serves
# uses that one and stops nothing. The sends start the stand-in customs client in place of java
# (it records what it got in drives/c/jicis).
set -u
build=$(cd "$1" && pwd) || exit 2
id=$2
settings=DATABASE/ARXEIO0/formi_01.txt
cd "$build/demo" || exit 2
srv=
trap '[ -z "$srv" ] || kill "$srv" 2>/dev/null' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
if "$build/signsrv" --enabled "$settings"; then
  # Ends with code 4 (and says so in the log) when another serves the folder.
  srv=$("$build/signsrv" --settings "$settings" --log SIGNSRV.LOG --background 2>>SIGNSRV.LOG) || srv=
fi
KORVEX_JAVA="$build/jicis" "$build/korvex" "$id"
