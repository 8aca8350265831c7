#!/bin/sh
# Ctrl+C ends a validation with status 130 and leaves no worker behind, even one hanging inside the
# plug-in: the run is interrupted while it waits for a chunk worker that the plug-in hangs in.
# Usage: cli_interrupt.sh HOST PLUGIN WORK
set -u
host=$1
plugin=$2
work=$3
fifo=$work/interrupt-$$
rm -f "$fifo"
mkfifo "$fifo"
# The seed is this script's own process id: it marks the worker's command line as this run's.
seed=$$
ZELMOR_FAULT=hang "$host" validate "$plugin" --quick --seed $seed --worker-timeout 600 >/dev/null 2>"$fifo" &
validator=$!
exec 3<"$fifo"
rm -f "$fifo"
# The plug-in tells on stderr when it has begun to hang.
hanging=no
while read -r line <&3; do
    case $line in *hanging*) hanging=yes; break ;; esac
done
if [ $hanging = no ]; then
    echo "the run ended before the worker hung"
    exit 1
fi
kill -INT $validator
cat <&3 >/dev/null
wait $validator
status=$?
result=0
if [ $status -ne 130 ]; then
    echo "exit status $status after Ctrl+C, expected 130"
    result=1
fi
survivors=$(pgrep -f "validate-chunk-worker .* $seed\$")
if [ -n "$survivors" ]; then
    echo "workers survived the interrupted run: $survivors"
    kill -KILL $survivors
    result=1
fi
exit $result
