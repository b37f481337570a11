// The interrupt handler of the command line: it removes the temporary files of unfinished writers.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "core/os_file.h"
#include "core/safe_file.h"
#include "core/shown_text.h"

namespace vesko::os {

// Temporary files being written, for the interrupt handler. A slot is claimed (free -> filling),
// filled, then published (-> used); the handler reads only published slots. Fixed arrays: the
// handler may neither allocate nor lock.
namespace {

constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
constexpr std::size_t kShownBytes = 1024;
enum SlotState : int { kFree, kFilling, kUsed };
static_assert(std::atomic<int>::is_always_lock_free, "the handler may not wait for a lock");

struct TempSlot {
  std::atomic<int> state{kFree};
  char temp[kPathBytes];
  char shown[kShownBytes];  // the target as a message shows it, cut to fit
};
TempSlot tempSlots[kSlots];

void CopyCut(char* to, std::size_t room, std::string_view from) {
  const std::size_t length = std::min(from.size(), room - 1);
  std::memcpy(to, from.data(), length);
  to[length] = '\0';
}

void Say(const char* text) {
  const std::size_t length = std::strlen(text);
  [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, text, length);
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    case SIGQUIT:
      return "SIGQUIT";
    default:
      return "a signal";
  }
}

// Removes every published temporary file, says so on standard error, then ends the program as the
// signal would have.
extern "C" void OnInterrupt(int signal) {
  const int savedErrno = errno;
  bool named = false;
  for (TempSlot& slot : tempSlots) {
    if (slot.state.load() == kUsed) {
      unlink(slot.temp);
      Say(named ? "; " : "Interrupted by ");
      if (!named) {
        Say(SignalName(signal));
        Say(": ");
      }
      Say(slot.shown);
      Say(" was left as it was");
      named = true;
    }
  }
  if (!named) {
    Say("Interrupted by ");
    Say(SignalName(signal));
  }
  Say(".\n");
  errno = savedErrno;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

int RememberTempFile(const std::string& tempPath, const std::string& target) {
  if (tempPath.size() >= kPathBytes) {
    return -1;
  }
  const std::string shown = ShownText(target);
  for (int k = 0; k < kSlots; ++k) {
    int expected = kFree;
    if (tempSlots[k].state.compare_exchange_strong(expected, kFilling)) {
      CopyCut(tempSlots[k].temp, kPathBytes, tempPath);
      CopyCut(tempSlots[k].shown, kShownBytes, shown);
      tempSlots[k].state.store(kUsed);
      return k;
    }
  }
  return -1;
}

void ForgetTempFile(int slot) {
  if (slot >= 0 && slot < kSlots) {
    tempSlots[slot].state.store(kFree);
  }
}

}  // namespace vesko::os

namespace vesko {

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = os::OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    sigaddset(&action.sa_mask, signal);
  }
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    // A signal the caller ignores (nohup) stays ignored.
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
      sigaction(signal, &action, nullptr);
    }
  }
  // Beyond the file-size limit a write then fails with EFBIG, which the writer reports and cleans up
  // like a full disk, instead of the signal ending the program silently.
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace vesko
