#!/bin/sh
# Links planted under the names a host would pick if it named its temporary files after the output
# and its process id must not receive the output: the host makes a new file of its own instead.
# The inner shell plants them for its own id and then becomes the host, keeping that id.
set -eu
host=$1
work=$2
rm -f "$work/victim" "$work/planted.wav" "$work"/planted.wav.*
sh -c 'ln -s "$2/victim" "$2/planted.wav.partial-$$"; ln -s "$2/victim" "$2/planted.wav.$$.tmp"
       exec "$1" generate "$2/planted.wav" --seconds 0.1' sh "$host" "$work"
status=0
if [ -e "$work/victim" ]; then
    echo "the output went through a planted link into $work/victim"
    status=1
fi
if [ -L "$work/planted.wav" ] || [ ! -f "$work/planted.wav" ]; then
    echo "$work/planted.wav is not a file of the host's own"
    status=1
fi
rm -f "$work/victim" "$work"/planted.wav.*
exit $status
