#!/bin/sh
# Prints the show's version, which the top CMakeLists.txt's project() names:
# the one place it is written.
sed -n 's/^project(show VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt"
