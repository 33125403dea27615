// The --help text: every option, the frame and log formats, and an example.
#include "counter/help_text.h"

namespace zorvalit::counter {

std::string_view help_text() {
    return R"(Usage: zorvalit-counter [OPTION]...
Stands in for the frequency counter on its RS-232 line (2400 baud, 8N1):
opens a pseudo-terminal, prints the path of its slave side as the first line
on standard output, and sends 20-byte measurement frames on it until it is
stopped with SIGINT, SIGTERM or SIGHUP (exit status 0) or --frames is reached.

Frame: 3 spaces, the 13-character reading right-aligned ("10.032.768 Hz"),
2 uppercase hex digits of the sum of bytes 0-15 mod 256, CR LF.
Whatever the receiver sends is read and ignored. When nobody reads and the
pty is full, bytes are dropped rather than waited for (see --log). While no
receiver has the port open, frames wait in the pty and arrive in one rush
when it is opened, so a receiver should discard its input after opening.

Line:
  --link PATH          make PATH a symbolic link to the slave (e.g. /dev/COM1),
                       removed at exit; an existing PATH is replaced only if it
                       is a link into /dev/pts (left from an earlier run)
  --fast               write each frame in one go instead of one byte every
                       1/240 s as the real line does
  --rate FPS           frames a second (default 2: a 83 ms frame, then 417 ms
                       quiet, so a receiver that starts mid-frame falls in
                       step at the next one); at most 11.4 unless --fast
  --frames N           stop after N frame slots: wait up to 1 s for the
                       receiver to read them, then hang up and exit 0

Readings (default: --base 10032768 --drift 5):
  --readings LIST      comma-separated readings used in turn, each a number of
                       Hz ("32768") or a reading text ("32.768 Hz"), at most
                       99999999 Hz
  --base HZ            centre of a random walk of readings
  --drift HZ           how far the walk may move from the base
  --seed N             seed for the walk, random faults and burst bytes
                       (default 1)

Faults (frame slots are numbered from 1):
  --fault KIND[:ARG]@FRAME   inject a fault in that slot; repeatable
      cut:N          send only the first N bytes (1-19), then 250 ms silence
      nospace[:I]    lead byte I (0-2) becomes '*'; all three without I
      nul[:P]        NUL at reading position P (0-12, default 6)
      cp1250[:P]     bytes 0xB5 'µ' 0x8A 'Š' at reading positions P, P+1
                     (0-11, default 0)
      burst:N        N random bytes (1-4096) before the frame, then the
                     normal pause
      silence:MS     MS ms (1-3600000) of extra quiet before the frame
  --fault-rate P       each slot gets one random fault with probability P
                       (0-1; bursts up to 40 bytes, silences 50-500 ms)
  --hangup-after N     after slot N, wait up to 1 s for the receiver to read,
                       then close the pty (the receiver sees a hang-up); with
                       no --reopen-after nothing more is sent, the link
                       dangles and the counter waits for SIGINT/SIGTERM
  --reopen-after MS    MS ms after the hang-up open a new pty, print its slave
                       path as a new line, point --link at it and go on

  --log FILE           write one line per write to the pty, flushed:
                         NS FRAME KIND DATA DROPPED
                       NS: CLOCK_MONOTONIC ns just before the write; FRAME:
                       slot number; KIND: frame, burst, or the faults applied
                       to the frame joined by '+' (e.g. nul+cut); DATA: the
                       bytes the pty took in lowercase hex ('-' if none);
                       DROPPED: bytes of the write the pty refused.
                       Events: "NS FRAME open SLAVE-PATH 0" when a pty is
                       opened and "NS FRAME hangup - 0" when it is closed,
                       FRAME being the last slot begun (0 before any)
  -h, --help           show this help

Exit status: 0 when stopped or done, 1 on a runtime error, 2 on bad options.

Example:
  zorvalit-counter --link /tmp/COM1 --readings "32768,10.032.768 Hz" \
      --fault cut:7@5 --fault nul@8 --hangup-after 20 --reopen-after 500 \
      --log counter.log
)";
}

}  // namespace zorvalit::counter
