#include "core/DtLocalNumberSource.h"

#include <array>
#include <chrono>
#include <mutex>
#include <random>

#include "port/DtProcess.h"

namespace {

struct Source {
  std::mutex lock;
  std::mt19937 generator;
  std::uint32_t seededIn = 0;  // the process that seeded it
  // The slot of this process's own handle, or handleCount when the system
  // does not say which processes share the machine.
  std::uint32_t ownSlot = DtLocalNumberSource::handleCount;
  // How many living managers hold each handle, and how many handles are held.
  std::array<std::uint32_t, DtLocalNumberSource::handleCount> holders{};
  std::uint32_t handlesHeld = 0;

  // A process forked from one that drew already would draw the same numbers:
  // it seeds again, and what its parent's managers held is not its own.
  void seedForThisProcess() {
    const std::uint32_t pid = DtProcessId();
    if (pid == seededIn) return;
    const auto now = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32), pid};
    generator.seed(seed);
    // Processes of one machine have different IDs, so this way they take
    // different handles (unless their IDs lie a multiple of 9999 apart);
    // against other machines the key makes it a random draw as before.
    const std::uint32_t key = DtProcessIdSpaceKey();
    ownSlot = key != 0 ? static_cast<std::uint32_t>((std::uint64_t{pid} + key) % DtLocalNumberSource::handleCount)
                       : DtLocalNumberSource::handleCount;
    if (seededIn != 0) {
      holders.fill(0);
      handlesHeld = 0;
    }
    seededIn = pid;
  }
};

Source& source() {
  static Source theSource;
  return theSource;
}

std::uint32_t slotOf(std::uint32_t number) { return DtLocalNumberSource::handleOf(number) - 1; }

// The number of `number`'s block of 9999 (the block before, past 2^31 - 1)
// whose slot is `slot`.
std::uint32_t inSlot(std::uint32_t number, std::uint32_t slot) {
  const std::uint32_t moved = number - number % DtLocalNumberSource::handleCount + slot;
  return moved > 0x7FFFFFFFu ? moved - DtLocalNumberSource::handleCount : moved;
}

}  // namespace

std::uint32_t DtLocalNumberSource::draw() {
  Source& s = source();
  const std::lock_guard<std::mutex> guard(s.lock);
  s.seedForThisProcess();
  // Numbers stay below 2^31, as the absolute value of rand() was.
  std::uniform_int_distribution<std::uint32_t> numbers(0, 0x7FFFFFFFu);
  std::uint32_t number = numbers(s.generator);
  if (s.handlesHeld < handleCount) {
    if (s.ownSlot < handleCount && s.holders[s.ownSlot] == 0) {
      number = inSlot(number, s.ownSlot);
    } else {
      while (s.holders[slotOf(number)] != 0) number = numbers(s.generator);
    }
  }
  if (s.holders[slotOf(number)]++ == 0) ++s.handlesHeld;
  return number;
}

void DtLocalNumberSource::release(std::uint32_t number) {
  Source& s = source();
  const std::lock_guard<std::mutex> guard(s.lock);
  if (s.seededIn != DtProcessId()) return;  // drawn in the parent process
  std::uint32_t& holders = s.holders[slotOf(number)];
  if (holders != 0 && --holders == 0) --s.handlesHeld;
}
