// The report's Method section: how each figure is measured.
#include "report.h"

const char* const kMethodText = R"(## Method

Everything above comes from one run of `make bench`, which cross-builds `bench/` with the same
toolchain and flags as the tool and runs `tb_bench.exe` under Wine. Each number is the median of
the runs shown; a ratio is the tool's median over the baseline's median, except in the start rows,
which are measured in pairs.

- **Start to visible window.** The tool's executable and `bare_dialog.exe` (a dialog built from an
  in-memory template with no controls, same compiler, flags and static runtime, built in the same
  tree) are each copied into a fresh folder and started from there with `CreateProcessW`. The clock
  runs from just before `CreateProcessW` until the benchmark, polling `EnumWindows` every
  millisecond, finds a visible, unowned top-level window of that process. The window is then closed
  with the system close command. One start of each before the measured ones is not counted. The
  second baseline, `startup_dialog.exe`, is the same bare dialog built with the tool's resources
  (icon, manifest, version) and making the start-up calls the tool must make: `CoInitialize`,
  `InitCommonControlsEx` with the tool's classes, its two icons loaded and set, `DragAcceptFiles`,
  and the window brought to the foreground before it is shown, as the tool's modal window is.
  Against it, what is left is the tool's own work.
- **Start rows in pairs.** Wine's process start drifts with what else the machine does, and a
  baseline's own median moved 10 to 15 % from one run of the benchmark to the next: more than
  the difference the second start row measures. So each start row is measured as pairs taken in
  turn, the tool, then its baseline, then the tool again, and so on (the first row's pairs, then
  the second row's), and each pair gives one ratio, the tool's time over its baseline's: both
  starts of a pair see the same moment of the machine, and each side follows the other as often
  as it goes before it. The row's ratio is the median of its pairs' ratios, with the middle half
  of them beside it (from the lower to the upper quartile, interpolated), and "Met" compares that
  median with the target. The times in the Test Builder and Baseline columns are each side's
  median over the same pairs, for scale; the ratio is not their quotient.
- **CPU time while an outside program runs.** The tool, with a settings file that names a test
  file and `outside_program.exe` (which sleeps for the stated time and ends with 0) as the
  framework tool, is clicked "&Add routines"; at the same time the bare dialog is told to start
  the same program and wait for it with a plain `WaitForSingleObject`. The CPU time of each
  (read as for the idle window, below) is taken once its program runs (found by its parent
  process) and again the moment that program has ended. A plain wait costs nothing, so the
  baseline is counted as one tick, as for the idle window; a wait that polls fails the target.
- **CPU time of the idle window.** The tool, the bare dialog with a blocking `GetMessage` loop and
  the bare dialog with a loop that sleeps 1 ms whenever its queue is empty are started together,
  each from its own fresh folder, and left alone: one second after all three windows are visible,
  `GetProcessTimes` (user + kernel) is read, and again after the idle period; the difference is
  the cost of the open, idle window. `GetProcessTimes` moves in ticks of the system clock
  (15.6 ms on Windows); a baseline below one tick is counted as one tick, so against the blocking
  loop the target reads "within one and a half ticks of a program that does nothing", and the
  absolute values stand beside the ratio.
- **Private memory.** `PrivateUsage` of `GetProcessMemoryInfo` (`PROCESS_MEMORY_COUNTERS_EX`) for
  the tool and the blocking bare dialog, read in the idle runs one second after the windows are up.
- **Under Wine** `GetProcessTimes` and `GetProcessMemoryInfo` report 0 for every other process, so
  the benchmark reads the same things from the host instead, for the Unix process that runs each
  program (found by its command line, which names the program's unique folder), through Wine's
  view of `/proc`: the CPU time is the sum of the threads' `schedstat` run times (nanoseconds), the
  private memory is `RssAnon` of `status` (resident anonymous memory, Wine's own share included,
  which is the same for both programs). Work the wineserver does on a program's behalf (every
  `PeekMessage` of the sleeping loop asks it) is not in any program's figure.
- **Files.** `LoadSettings`, `GeneratedTestSourcePath` and `ReadWholeFile` run inside the benchmark
  (linked with `tb_ui`, the libraries the tool is built from) against the least a program can do
  to get the same bytes: `CreateFileW`, `GetFileSize`, a buffer of that size, one `ReadFile`,
  `CloseHandle`, free the buffer. The settings file is written beside the benchmark executable
  (where `LoadSettings` looks), the test file is named by `Settings.active`, and each file is
  written once and then read from the system's cache, the two sides taking turns after one
  warm-up of each. The files hold realistic lines: the twelve settings keys repeated with real-looking
  paths (about 30 bytes a line); a "[quarex]" test file with a "source=" line every thousand
  lines and no "output=" line, so the whole file is read; a compiler log of 80-byte lines. Each
  call is checked for the right result (the last "active=" value, the generated source path, the
  log's length). MB means 2^20 bytes.
- **Fresh memory.** The one ReadFile reads into memory just taken from the system, as a program
  reading a file in one call does, so it pays for the first touch of every page. The last row of
  the size table reads into a buffer that is already touched instead, for comparison: on a
  machine where page faults are expensive (virtual machines) the difference is large, and the
  line readers, which reuse a 64 KB buffer, do not pay it. Where the first touch is cheap, the
  ratios of the line readers move towards their ratios to that last row.
- **Inputs of any size.** Measured first, before anything else reads a large file. A compiler log
  of 100 MB in ordinary lines and one of 10 MiB in one line, from the compiler's end to the box's
  text ready (`ReadFileTail` of its last 64 KiB and `LogTextThatFits` on the primary monitor),
  against one `ReadFile` of those last 64 KiB; a settings file whose second line is 1 GB long,
  loaded, against one `ReadFile` of the whole file. The memory is the process's peak working set
  after the operation's first run over its working set before it, an upper bound of what the
  operation added. Under Wine the ReadFile's open and close are round trips to the wine server,
  and their cost differs from run to run far more than the box's work does: about 0.2 to 0.4 ms
  in these runs, but 0.035 ms where the server is made to share the benchmark's processor
  (`taskset -c 0`). There the log rows come to 8.4x (about 0.2 ms of it is Wine's DrawText for
  the 25 lines shown) and 3.3x, where the earlier fitting took 32x and 27x.

Benchmarks measure; no test asserts a timing.
)";
