#!/bin/bash
# GNU Chess 6.2.7 in xboard mode (gnuchess -x) sometimes leaves lines unread that reach its pipe
# together, until more input comes: a "go" then goes unanswered and it loses on time. This hands
# it its input one line at a time, a few milliseconds apart (a cost charged to its own clock).
exec 3> >(exec gnuchess -x)
while IFS= read -r line; do
    printf '%s\n' "$line" >&3
    sleep 0.003
done
