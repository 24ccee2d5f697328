#!/bin/sh
# rundemo.sh BUILD ID: starts the program as workstation ID on the demo installation BUILD/demo
# (what `make run` does). When the demo's first company has signing on, its exchange folder is
# served by the stand-in signing server for as long as any workstation started here runs: the
# workstation runs under signsrv --workstation, which registers it and starts the server when none
# serves the folder; the server ends by itself after the last workstation (its log: SIGNSRV.LOG in
# the demo folder). The sends start the stand-in customs client in place of java (it records what
# it got in drives/c/jicis).
set -u
build=$(cd "$1" && pwd) || exit 2
id=$2
cd "$build/demo" || exit 2
KORVEX_JAVA="$build/jicis" exec "$build/signsrv" --settings DATABASE/ARXEIO0/formi_01.txt --log SIGNSRV.LOG \
  --workstation "$build/korvex" "$id"
