#!/bin/bash
# GNU Chess 6.2.7 in xboard mode (gnuchess -x) sometimes leaves lines unread that reach its pipe
# together, until more input comes: a "go" then goes unanswered and it loses on time. This hands
# it its input one line at a time, a few milliseconds apart (a cost charged to its own clock).
# Its start-up waits for input in the same way: after "protover" it often says nothing until the
# next line, so xboard gives up waiting for its features after 10 s, sends the game in one burst,
# and GNU Chess aborts ("buffer overflow detected"). Until xboard speaks again (other than to accept
# features), a harmless "post" every quarter second lets it start.
exec 3> >(exec gnuchess -x)
feeder=''
stop_feeder() {
    [ -n "$feeder" ] && kill "$feeder" 2>/dev/null
    feeder=''
}
trap stop_feeder EXIT
while IFS= read -r line; do
    case $line in accepted\ *|rejected\ *) ;; *) stop_feeder ;; esac
    printf '%s\n' "$line" >&3
    case $line in
        protover\ *) { for _ in $(seq 40); do sleep 0.25; printf 'post\n'; done; } >&3 & feeder=$! ;;
    esac
    sleep 0.003
done
