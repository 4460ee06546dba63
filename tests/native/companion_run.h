// Runs quillmere-cli as a separate process and collects what it wrote and how it ended.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

struct CompanionRun {
  int exitCode = -1;  // -1 when the program did not exit by itself
  int signal = 0;     // the signal that ended it, if one did
  std::string out;
  std::string err;
};

// Where the companion's standard output goes.
enum class CompanionOutput {
  kFile,               // a temporary file, read back into CompanionRun::out
  kFull,               // /dev/full: every write fails with "no space"
  kClosed,             // no standard output at all
  kBrokenPipe,         // a pipe whose reader has gone, SIGPIPE at its default
  kBrokenPipeIgnored,  // the same with SIGPIPE ignored: writes fail with EPIPE
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// The lines of a text, without their line feeds (a last line without one is left out).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// The command that starts the companion: this build's own (QUILLMERE_CLI_PATH), or,
// where the environment names one, the program QUILLMERE_CLI started through the
// words of QUILLMERE_CLI_RUNNER ("node", "qemu-aarch64 -L /usr/aarch64-linux-gnu"):
// tests/cross/companion_tests.sh runs these tests against the ARM and WebAssembly
// builds that way.
inline std::vector<std::string> CompanionCommand() {
  std::vector<std::string> words;
  if (const char* runner = std::getenv("QUILLMERE_CLI_RUNNER")) {
    std::istringstream in(runner);
    for (std::string word; in >> word;) words.push_back(word);
  }
  const char* program = std::getenv("QUILLMERE_CLI");
  words.push_back(program != nullptr && *program != 0 ? program : QUILLMERE_CLI_PATH);
  return words;
}

// Runs the companion with the arguments; stdout and stderr go to temporary files,
// so a large output cannot fill a pipe and stall.
inline CompanionRun RunCompanion(const std::vector<std::string>& arguments,
                                 CompanionOutput output = CompanionOutput::kFile) {
  char outPath[] = "/tmp/quillmere-cli-out-XXXXXX";
  char errPath[] = "/tmp/quillmere-cli-err-XXXXXX";
  const int outFile = mkstemp(outPath);
  const int errFile = mkstemp(errPath);
  CompanionRun run;
  if (outFile < 0 || errFile < 0) return run;

  std::vector<std::string> words = CompanionCommand();
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  int pipeEnds[2] = {-1, -1};
  if (output == CompanionOutput::kFile) posix_spawn_file_actions_adddup2(&actions, outFile, STDOUT_FILENO);
  if (output == CompanionOutput::kFull)
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
  if (output == CompanionOutput::kClosed) posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  const bool brokenPipe = output == CompanionOutput::kBrokenPipe || output == CompanionOutput::kBrokenPipeIgnored;
  if (brokenPipe && pipe(pipeEnds) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    close(pipeEnds[0]);  // no reader from the start
  }
  // The child inherits an ignored SIGPIPE; posix_spawn sets it back to its default
  // only when asked.
  struct sigaction previous;
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  if (output != CompanionOutput::kBrokenPipeIgnored) {
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  }
  posix_spawn_file_actions_adddup2(&actions, errFile, STDERR_FILENO);
  pid_t child = 0;
  // The runner ("node") is looked up in PATH; a program path is taken as it is.
  if (posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ) == 0) {
    int status = 0;
    if (waitpid(child, &status, 0) == child) {
      if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    }
  }
  sigaction(SIGPIPE, &previous, nullptr);
  if (pipeEnds[1] >= 0) close(pipeEnds[1]);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(outFile);
  close(errFile);
  run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  unlink(outPath);
  unlink(errPath);
  return run;
}
