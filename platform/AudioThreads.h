// SPDX-License-Identifier: MIT
// Raising the threads an audio driver starts for a device. SDL's PipeWire driver feeds the
// stream from a thread of PipeWire's that it starts when a device opens and never raises:
// at normal priority, on a machine kept busy by other programs, that thread can be kept
// from running for longer than a buffer lasts, and the sound gets a gap. Linux only.
#pragma once

#include <sys/types.h>

#include <string_view>
#include <vector>

// The nice value given to a raised thread: the one PipeWire gives its own loops that do
// not run in real time.
constexpr int kAudioThreadNice = -11;

// The ids of this process's threads, from /proc/self/task; empty when it cannot be read.
std::vector<pid_t> CurrentThreadIds();

// Raises to nNice every thread of this process that is not in before, whose name starts
// with prefix and that runs under the normal policy at a nice value above nNice: through
// setpriority, or RealtimeKit where the system refuses (what a desktop user gets). A
// thread already real-time or raised is left alone, so none is demoted. Returns how many
// threads were raised (RealtimeKit may stop short of nNice, at its own floor).
int RaiseNewThreads(const std::vector<pid_t>& before, std::string_view prefix, int nNice);
