// n27-sim: a simulated N27 radio on a pseudo-terminal.
//
// Prints the device path of its end of the line on the first line of its output, then answers
// the programming protocol until it is stopped (Ctrl+C, SIGTERM). The replies are paced as
// the radio's 38400-baud line would deliver them, one byte every 260 µs, after the request
// itself has had the time to cross the line; --baud 0 answers at once (tests).

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/paths.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "sim/simulated_radio.h"

namespace {

using n27::sim::Bytes;

constexpr long long kGroupNs = 1000000;  // reply bytes are handed over in 1 ms groups

constexpr const char *kUsage =
    "Usage: n27-sim [OPTIONS]\n"
    "\n"
    "A simulated N27 radio on a pseudo-terminal. The first line of output is the device to\n"
    "open (add it to ~/.config/n27/mysetup.ini as e.g. COM250=/dev/pts/7 under [Ports]).\n"
    "\n"
    "Memory (default: the shipped default data file of the band, i.e. a demo radio):\n"
    "  --image FILE        start from a 2560- or 2561-byte image\n"
    "  --data FILE         start from a data file (.dat)\n"
    "  --save FILE         save the memory (2561 bytes) after every completed write\n"
    "  --tuning HEX32      the 16 bytes of the factory tuning block (496..511) as 32\n"
    "                      hexadecimal digits (default: as in the image, else all FF); the\n"
    "                      test mode reads this block first and writes it first\n"
    "Identity:\n"
    "  --band 0|1          0 = 400 - 490 MHz (default), 1 = 136 - 174 MHz\n"
    "  --model TEXT        model code (default N27PR)\n"
    "  --firmware TEXT     firmware version, 4 characters (default V101)\n"
    "  --password TEXT     programming password, up to 4 characters (default none)\n"
    "  --killed, --stunned the radio's blocked state\n"
    "  --serial TEXT       serial number, up to 16 characters (default N27SIM0000000001)\n"
    "Line:\n"
    "  --baud N            pace the replies at N baud (default 38400; 0 = no pacing)\n"
    "  --turnaround US     the radio's delay before each reply in microseconds (default 0)\n"
    "  --realtime          ask for real-time scheduling so the pacing holds on a busy machine\n"
    "  --link PATH         also create the symbolic link PATH to the device (never over a\n"
    "                      file or a link in use; removed at exit while it is still ours)\n"
    "  --trace FILE        log every exchange (program, read A, write A, end) to FILE\n"
    "Faults (replies are counted from 1 over the whole run):\n"
    "  --drop-reply N      do not send reply N\n"
    "  --garble-reply N    send reply N with every byte inverted\n"
    "  --bad-checksum N    send reply N, a data frame, with a wrong checksum\n"
    "  --stop-after N      stop answering after N block reads or writes\n"
    "  --no-end-ack        never answer the end request\n"
    "  --stuck-byte ADDR   the memory byte at ADDR (0..2559, decimal or 0x hexadecimal) keeps\n"
    "                      its value: writes over it are acknowledged but not stored, so a\n"
    "                      verify after the write fails there\n"
    "  --random-faults P   a noisy line: each reply meets a fault with chance P (0..1): dropped,\n"
    "                      garbled, one bit flipped, or the radio silent until the next program\n"
    "                      request; --trace lists them (fault …)\n"
    "  --seed N            the seed of --random-faults (default 1)\n";

volatile sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

// SIGINT and SIGTERM stay blocked except while the simulator waits (for the line, for room
// on it, for the moment a reply byte leaves): a stop request then ends the wait at once,
// however full the line is, and one that comes between two waits is not lost.
sigset_t g_waitMask;

void blockStopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  sigprocmask(SIG_BLOCK, &stop, &g_waitMask);
  sigdelset(&g_waitMask, SIGINT);
  sigdelset(&g_waitMask, SIGTERM);
}

// poll() that a stop request interrupts; timeoutNs < 0 waits without end.
int waitFor(pollfd *fds, nfds_t n, long long timeoutNs) {
  timespec t{static_cast<time_t>(timeoutNs / 1000000000LL), static_cast<long>(timeoutNs % 1000000000LL)};
  return ::ppoll(fds, n, timeoutNs < 0 ? nullptr : &t, &g_waitMask);
}

struct Options {
  std::string image, data, save, link, trace;
  std::vector<uint8_t> tuning;  // 16 bytes, or empty
  n27::sim::RadioSettings radio;
  bool passwordGiven = false;
  bool serialGiven = false;
  n27::sim::Faults faults;
  long baud = 38400;
  long turnaroundUs = 0;
  bool realtime = false;
};

bool number(const std::string &text, long &out) {
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out >= 0;
}

// A decimal number or a hexadecimal one after "0x".
bool addressNumber(const std::string &text, long &out) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    auto [p, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), out, 16);
    return ec == std::errc() && p == text.data() + text.size() && out >= 0;
  }
  return number(text, out);
}

// "0102AB…" into bytes; false for an odd length or a character that is not hexadecimal.
bool hexBytes(const std::string &text, std::vector<uint8_t> &out) {
  out.clear();
  if (text.size() % 2) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int hi = n27::HexDigitValue(text[i]), lo = n27::HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

int usageError(const std::string &message) {
  std::fprintf(stderr, "n27-sim: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

// 0 ok, otherwise the exit code.
int parse(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string &out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    auto count = [&](long &out) {
      std::string v;
      return value(v) && number(v, out);
    };
    long n = 0;
    std::string v;
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return -1;
    } else if (a == "--image") {
      if (!value(o.image)) return usageError("--image needs a file");
    } else if (a == "--data") {
      if (!value(o.data)) return usageError("--data needs a file");
    } else if (a == "--save") {
      if (!value(o.save)) return usageError("--save needs a file");
    } else if (a == "--tuning") {
      if (!value(v) || !hexBytes(v, o.tuning) || o.tuning.size() != 16)
        return usageError("--tuning takes 32 hexadecimal digits (16 bytes)");
    } else if (a == "--link") {
      if (!value(o.link)) return usageError("--link needs a path");
    } else if (a == "--trace") {
      if (!value(o.trace)) return usageError("--trace needs a file");
    } else if (a == "--band") {
      if (!count(n) || n > 1) return usageError("--band is 0 or 1");
      o.radio.band = static_cast<int>(n);
    } else if (a == "--model") {
      if (!value(o.radio.model) || o.radio.model.size() > 5) return usageError("--model takes up to 5 characters");
    } else if (a == "--firmware") {
      if (!value(o.radio.firmware) || o.radio.firmware.size() != 4) return usageError("--firmware takes 4 characters");
    } else if (a == "--password") {
      if (!value(o.radio.password) || o.radio.password.size() > 4) return usageError("--password takes up to 4 characters");
      o.passwordGiven = true;
    } else if (a == "--killed") {
      o.radio.killed = true;
    } else if (a == "--stunned") {
      o.radio.stunned = true;
    } else if (a == "--baud") {
      if (!count(o.baud)) return usageError("--baud needs a number");
    } else if (a == "--turnaround") {
      if (!count(o.turnaroundUs)) return usageError("--turnaround needs microseconds");
    } else if (a == "--drop-reply" || a == "--garble-reply" || a == "--bad-checksum" ||
               a == "--stop-after") {
      if (!count(n) || n < 1 || n > 1000000) return usageError(a + " needs a number from 1");
      int k = static_cast<int>(n);
      if (a == "--drop-reply") o.faults.dropReply = k;
      if (a == "--garble-reply") o.faults.garbleReply = k;
      if (a == "--bad-checksum") o.faults.badChecksumReply = k;
      if (a == "--stop-after") o.faults.stopAfterBlocks = k;
    } else if (a == "--realtime") {
      o.realtime = true;
    } else if (a == "--serial") {
      if (!value(o.radio.serial) || o.radio.serial.size() > 16)
        return usageError("--serial takes up to 16 characters");
      o.serialGiven = true;
    } else if (a == "--stuck-byte") {
      std::string v;
      long address = -1;
      if (!value(v) || !addressNumber(v, address) || address >= 2560)
        return usageError("--stuck-byte needs an address from 0 to 2559");
      o.faults.stuckByte = static_cast<int>(address);
    } else if (a == "--no-end-ack") {
      o.faults.noEndAck = true;
    } else if (a == "--random-faults") {
      if (!value(v)) return usageError("--random-faults needs a chance from 0 to 1");
      char *end = nullptr;
      double p = std::strtod(v.c_str(), &end);
      if (end == v.c_str() || *end != '\0' || !(p >= 0 && p <= 1))
        return usageError("--random-faults needs a chance from 0 to 1");
      o.faults.randomFaultRate = p;
    } else if (a == "--seed") {
      if (!count(n) || n > 4294967295L) return usageError("--seed needs a number");
      o.faults.randomSeed = static_cast<unsigned>(n);
    } else {
      return usageError("unknown option \"" + a + "\"");
    }
  }
  if (!o.image.empty() && !o.data.empty()) return usageError("give --image or --data, not both");
  return 0;
}

// The starting memory; false with a message when a file cannot be used.
bool loadMemory(const Options &o, n27::sim::SimulatedRadio &radio) {
  auto &m = radio.memory();
  if (!o.image.empty()) {
    auto bytes = n27::ReadWholeFile(o.image);
    if (!bytes || (bytes->size() != 2560 && bytes->size() != 2561)) {
      std::fprintf(stderr, "n27-sim: %s is not a 2560- or 2561-byte image\n", o.image.c_str());
      return false;
    }
    for (std::size_t i = 0; i < bytes->size(); ++i) m[i] = static_cast<uint8_t>((*bytes)[i]);
    radio.applyIdentification();
    if (o.passwordGiven) radio.applyPassword();
    if (o.serialGiven) radio.applySerial();
    return true;
  }
  n27::Workspace ws;
  ws.programFolder = n27::ShippedDataDir();
  ws.bandText = n27::BandText(o.radio.band);
  n27::SetBandLimits(ws);
  if (!o.data.empty()) {
    if (n27::LoadDataFile(ws, o.data) != n27::FileStatus::Ok) {
      std::fprintf(stderr, "n27-sim: %s is not a data file of this radio\n", o.data.c_str());
      return false;
    }
  } else {
    n27::NewConfiguration(ws);
  }
  ws.image.fill(0, n27::RadioImage::kSize - 1, 0xFF);
  n27::EncodeImage(ws);
  // Everything but the radio's own blocks comes from the configuration.
  for (std::size_t a = 0; a < n27::sim::kMemorySize; ++a)
    if (a < 416 || a >= 512) m[a] = ws.image.at(a);
  radio.applyIdentification();
  radio.applyPassword();
  return true;
}

using Clock = struct timespec;

Clock now() {
  Clock t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t;
}

long long nanos(const Clock &t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

void sleepUntil(long long ns) {
  for (long long left = ns - nanos(now()); left > 0 && !g_stop; left = ns - nanos(now()))
    waitFor(nullptr, 0, left);
}

// Sleeps until shortly before the moment, then waits out the rest without sleeping, so that
// the wake-up delay of a busy machine does not shift the moment.
void waitPreciselyUntil(long long ns) {
  constexpr long long kMargin = 100000;
  if (ns - nanos(now()) > kMargin) sleepUntil(ns - kMargin);
  while (nanos(now()) < ns && !g_stop) {
  }
}

// False when the line failed or a stop request came while it was full.
bool writeAll(int fd, const uint8_t *p, std::size_t n) {
  while (n > 0 && !g_stop) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {  // nobody reads the line: wait for room, or for a stop request
        pollfd pfd{fd, POLLOUT, 0};
        waitFor(&pfd, 1, -1);
        continue;
      }
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return n == 0;
}

// The symbolic link of --link: made only where nothing is, or over a link a simulator left
// behind when it was killed (its pseudo-terminal is gone); removed at exit only while it is
// still this simulator's link. A file, a folder or a live link there is never replaced.
class DeviceLink {
 public:
  // False with the reason printed when the link cannot be made.
  bool make(const std::string &path, const std::string &device) {
    if (path.empty()) return true;
    if (::symlink(device.c_str(), path.c_str()) != 0) {
      if (errno != EEXIST) return fail(path, std::strerror(errno));
      if (!leftOver(path)) {
        const std::string target = linkTarget(path);
        return fail(path, target.empty() ? "a file n27-sim did not make; not replaced"
                                         : "already a link to " + target + " (in use, or not a simulator's); not replaced");
      }
      if (::unlink(path.c_str()) != 0 || ::symlink(device.c_str(), path.c_str()) != 0)
        return fail(path, std::strerror(errno));
    }
    path_ = path;
    device_ = device;
    return true;
  }
  ~DeviceLink() {
    if (!path_.empty() && pointsTo(path_, device_)) ::unlink(path_.c_str());
  }

 private:
  // Where a symbolic link points; empty for anything else.
  static std::string linkTarget(const std::string &path) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
  }
  static bool pointsTo(const std::string &path, const std::string &device) { return linkTarget(path) == device; }
  // A link to a pseudo-terminal that no longer exists: what a killed simulator leaves.
  static bool leftOver(const std::string &path) {
    struct stat st {};
    return linkTarget(path).rfind("/dev/pts/", 0) == 0 && ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
  }
  static bool fail(const std::string &path, const std::string &why) {
    std::fprintf(stderr, "n27-sim: --link %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  std::string path_, device_;
};

class Trace {
 public:
  explicit Trace(const std::string &path) {
    if (!path.empty()) file_ = std::fopen(path.c_str(), "w");
  }
  ~Trace() {
    if (file_) std::fclose(file_);
  }
  void line(const std::string &s) {
    if (!file_) return;
    std::fprintf(file_, "%s\n", s.c_str());
    std::fflush(file_);
  }

 private:
  FILE *file_ = nullptr;
};

}  // namespace

int main(int argc, char **argv) {
  n27::IgnoreFileSizeSignal();  // --save over `ulimit -f` fails with its reason instead
  Options o;
  if (int rc = parse(argc, argv, o)) return rc < 0 ? 0 : rc;

  n27::sim::SimulatedRadio radio(o.radio, o.faults);
  if (!loadMemory(o, radio)) return 1;
  // The factory tuning block: read by a test-mode read before block 0, written by a test-mode
  // write before block 0, never part of an ordinary write.
  for (std::size_t i = 0; i < o.tuning.size(); ++i) radio.memory()[n27::mem::kTuningBlock + i] = o.tuning[i];

  int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::perror("n27-sim: pseudo-terminal");
    return 1;
  }
  std::string device = ::ptsname(master);
  // Hold the other end open in raw mode: no echo, no line editing, and the line stays up
  // while no programmer has it open.
  int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) {
    std::perror("n27-sim: open pseudo-terminal");
    return 1;
  }
  termios tio{};
  ::tcgetattr(slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave, TCSANOW, &tio);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

  blockStopSignals();
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  DeviceLink link;
  if (!link.make(o.link, device)) return 1;
  ::signal(SIGPIPE, SIG_IGN);
  // Wake-ups on time: the pacing relies on sleeps of a few hundred microseconds.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  if (o.realtime) {
    // Like the radio's own hardware, the simulator should not wait for a busy machine to
    // give it the processor: ask for real-time scheduling (refused without the privilege).
    sched_param sp{};
    sp.sched_priority = 10;
    if (::sched_setscheduler(0, SCHED_FIFO, &sp) != 0)
      std::fprintf(stderr, "n27-sim: no real-time scheduling (%s); pacing may lag on a busy machine\n",
                   std::strerror(errno));
  }

  std::printf("%s\n", device.c_str());
  std::fflush(stdout);

  Trace trace(o.trace);
  // The memory is saved when the end request of a write arrives, before it is acknowledged:
  // whoever sees the write completed finds the file complete.
  bool saved = false;
  radio.onCompletedWrite = [&] {
    if (o.save.empty()) return;
    std::string bytes(radio.memory().begin(), radio.memory().end());
    if (!n27::WriteFileAtomically(o.save, bytes))
      std::fprintf(stderr, "n27-sim: cannot save the memory to %s\n", o.save.c_str());
    saved = true;
  };
  const long long byteNs = o.baud > 0 ? 10LL * 1000000000LL / o.baud : 0;
  const long long turnaroundNs = o.turnaroundUs * 1000LL;
  long long requestStart = 0;     // when the first byte of the pending request arrived
  std::size_t requestBytes = 0;   // bytes received since the last reply
  uint8_t buf[512];

  while (!g_stop) {
    pollfd pfd{master, POLLIN, 0};
    // Waits for the programmer; an unfinished frame is given up after 100 ms of silence.
    int ready = waitFor(&pfd, 1, radio.hasUnfinishedFrame() ? 100000000LL : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (ready == 0) {
      // A quiet line: an unfinished frame will not be completed.
      radio.resetFraming();
      requestBytes = 0;
      continue;
    }
    ssize_t n = ::read(master, buf, sizeof buf);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      std::perror("n27-sim: read");
      break;
    }
    const long long arrived = nanos(now());
    if (requestBytes == 0) requestStart = arrived;
    requestBytes += static_cast<std::size_t>(n);
    std::vector<Bytes> replies = radio.receive(buf, static_cast<std::size_t>(n));

    bool ended = false;
    for (const n27::sim::Event &e : radio.takeEvents()) {
      std::string line = n27::sim::EventName(e.kind);
      if (e.kind == n27::sim::Event::Read || e.kind == n27::sim::Event::Write)
        line += " " + std::to_string(e.address);
      trace.line(line);
      ended = ended || e.kind == n27::sim::Event::End;
    }
    if (saved) trace.line("saved");
    saved = false;
    radio.takeCompletedWrite();

    if (!replies.empty()) {
      // The radio answers once the whole request has crossed the line, plus its turnaround.
      long long start = requestStart + static_cast<long long>(requestBytes) * byteNs;
      if (start < arrived) start = arrived;
      start += turnaroundNs;
      requestBytes = 0;
      for (const Bytes &r : replies) {
        if (byteNs == 0) {
          if (turnaroundNs) sleepUntil(start);
          writeAll(master, r.data(), r.size());
          continue;
        }
        // Each byte leaves when the line has carried it. Bytes go out in groups about a
        // millisecond apart, as a USB serial adapter hands them over; the last byte of the
        // reply leaves exactly on time, since that is the moment the programmer reacts to.
        std::size_t sent = 0;
        const long long last = start + static_cast<long long>(r.size()) * byteNs;
        while (sent < r.size() && !g_stop) {
          long long next = start + static_cast<long long>(sent + 1) * byteNs + kGroupNs;
          if (next >= last)
            waitPreciselyUntil(last);
          else
            sleepUntil(next);
          long long t = nanos(now());
          std::size_t k = sent;
          while (k < r.size() && start + static_cast<long long>(k + 1) * byteNs <= t) ++k;
          if (k == sent) continue;
          writeAll(master, r.data() + sent, k - sent);
          sent = k;
        }
        start += static_cast<long long>(r.size()) * byteNs;
      }
      if (ended) trace.line("end answered");
    }
  }
  ::close(slave);
  ::close(master);
  return 0;
}
