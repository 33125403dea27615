#!/usr/bin/perl
# Runs the Win32 device's pseudo-terminal test under wine with a pty as the COM port, and
# plays the counter on the pty's master side. The line starts raw at 9600 baud with two stop
# bits and XON/XOFF (a pty always keeps 8 bits without parity), so that the settings the device
# must change, and put back, differ. Whenever the program writes a request, the line must be
# 2400 8N1 without software flow control; then 'R' is answered with every byte value once, and
# 'E', a length byte and that many bytes with those bytes. After the program ends, the line must
# be back as it began.
# Usage: com-on-pty.pl WINEPREFIX PORT RUNNER... PROGRAM
use strict;
use warnings;
use Fcntl;
use POSIX qw(:termios_h :sys_wait_h);

my ($prefix, $port, @command) = @ARGV;
@command or die "usage: com-on-pty.pl WINEPREFIX PORT RUNNER... PROGRAM\n";
my @runner = @command[0 .. $#command - 1];
use constant { TIOCGPTN => 0x80045430, TIOCSPTLCK => 0x40045431, TCGETS2 => 0x802C542A };

sysopen(my $master, '/dev/ptmx', O_RDWR | O_NOCTTY) or die "ptmx: $!\n";
my $unlock = pack('i', 0);
ioctl($master, TIOCSPTLCK, $unlock) or die "unlockpt: $!\n";
my $number = pack('I', 0);
ioctl($master, TIOCGPTN, $number) or die "ptsname: $!\n";
my $slave_path = '/dev/pts/' . unpack('I', $number);
# Held open for the whole run, so the line does not hang up between the program's opens.
sysopen(my $slave, $slave_path, O_RDWR | O_NOCTTY) or die "$slave_path: $!\n";

my $start = POSIX::Termios->new;
$start->getattr(fileno $slave) or die "tcgetattr: $!\n";
$start->setiflag(($start->getiflag & ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL)) | IXON | IXOFF);
$start->setoflag($start->getoflag & ~OPOST);
$start->setlflag($start->getlflag & ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN));
$start->setcflag($start->getcflag | CSTOPB | CREAD | CLOCAL);
$start->setcc(VMIN, 1);
$start->setcc(VTIME, 0);
$start->setispeed(B9600);
$start->setospeed(B9600);
$start->setattr(fileno $slave, TCSANOW) or die "tcsetattr: $!\n";

my $begun = line();
my $failures = 0;
sub check {
    my ($ok, $what) = @_;
    return if $ok;
    print STDERR "com-on-pty: $what\n";
    $failures++;
}

sub line {
    my $now = POSIX::Termios->new;
    $now->getattr(fileno $slave) or die "tcgetattr: $!\n";
    return $now;
}

# The line's input and output speeds in baud as the kernel holds them (struct termios2). Wine 10
# sets a speed through termios2 as BOTHER with the number beside it, which cfgetospeed shows as
# BOTHER, not B2400; the kernel keeps the number in these fields however the speed was set.
sub speeds {
    my $termios2 = "\0" x 44;
    ioctl($slave, TCGETS2, $termios2) or die "TCGETS2: $!\n";
    return unpack('x36 L L', $termios2);
}

# Wine's server, which links COM1... to /dev/ttyS0... when it starts, runs before the link.
system(@runner, 'cmd', '/c', 'exit') == 0 or die "wine does not start\n";
my $link = "$prefix/dosdevices/" . lc $port;
unlink $link;
symlink($slave_path, $link) or die "$link: $!\n";

my $pid = fork() // die "fork: $!\n";
if ($pid == 0) {
    $ENV{ZORVALIT_TEST_PORT} = $port;
    exec(@command) or die "exec: $!\n";
}

# Reads exactly that many bytes from the master side.
sub take {
    my ($length) = @_;
    my $bytes = '';
    while (length $bytes < $length) {
        sysread($master, $bytes, $length - length $bytes, length $bytes) > 0 or die "read: $!\n";
    }
    return $bytes;
}

# Answers the program's requests until it ends: each time, the line must be set up as the
# program sets it up while it reads.
vec(my $wanted = '', fileno $master, 1) = 1;
my $served = 0;
my $deadline = time + 100;
while (waitpid($pid, WNOHANG) == 0 && time < $deadline) {
    next unless select(my $readable = $wanted, undef, undef, 0.2) > 0;
    my $request = take(1);
    my $answer;
    if ($request eq 'R') {
        $answer = join('', map { chr } 0 .. 255);
    } elsif ($request eq 'E') {
        $answer = take(ord take(1));
    } else {
        check(0, sprintf('unknown request 0x%02x', ord $request));
        next;
    }
    my $open = line();
    my ($in, $out) = speeds();
    check($in == 2400 && $out == 2400, "the open line is at $in/$out baud, not 2400");
    check(($open->getcflag & CSIZE) == CS8, 'the open line has no 8 data bits');
    check(!($open->getcflag & (PARENB | CSTOPB)), 'the open line has parity or two stop bits');
    check(!($open->getiflag & (IXON | IXOFF)), 'the open line keeps XON/XOFF');
    syswrite($master, $answer) == length $answer or die "write: $!\n";
    $served++;
}
check($served > 0, 'the program never said the port was open');
waitpid($pid, 0) if time >= $deadline && kill('KILL', $pid);
check($? == 0, 'the program failed');
my $end = line();
my ($in, $out) = speeds();
my $format = CSIZE | PARENB | CSTOPB;
check($in == 9600 && $out == 9600 && ($end->getcflag & $format) == ($begun->getcflag & $format)
      && ($end->getiflag & (IXON | IXOFF)) == (IXON | IXOFF), 'the line was not put back as it began');
unlink $link;
exit($failures ? 1 : 0);
