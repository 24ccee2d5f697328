#!/bin/sh
# mkdemo.sh SRC BIN DEST: lays out the demo installation.
set -e
mkdir -p "$3"
