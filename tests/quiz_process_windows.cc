#include "tests/quiz_process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>

namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

// A handle that is closed when it goes out of scope.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Handle& operator=(Handle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~Handle() { close(); }

  HANDLE get() const { return handle_; }
  void close() {
    if (handle_ != nullptr) CloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  HANDLE handle_ = nullptr;
};

// The program sits beside the test binary.
std::string program_path() {
  char path[MAX_PATH];
  const DWORD size = GetModuleFileNameA(nullptr, path, MAX_PATH);
  check(size > 0 && size < MAX_PATH, "GetModuleFileName");
  std::string beside(path, size);
  return beside.substr(0, beside.find_last_of("\\/") + 1) + "review-quiz.exe";
}

std::string command_line(const std::string& program, const std::vector<std::string>& arguments) {
  std::string line = '"' + program + '"';
  for (const std::string& argument : arguments) line += " \"" + argument + '"';
  return line;
}

// A pipe whose child end is inherited and whose own end is not.
struct Pipe {
  Handle child_end;
  Handle own_end;
};

Pipe make_pipe(bool child_reads) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  check(CreatePipe(&read_end, &write_end, &inherited, 0) != 0, "CreatePipe");
  Pipe pipe{Handle(child_reads ? read_end : write_end), Handle(child_reads ? write_end : read_end)};
  SetHandleInformation(pipe.own_end.get(), HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

void write_all(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 16));
    DWORD written = 0;
    if (WriteFile(handle, bytes.data(), size, &written, nullptr) == 0 || written == 0) return;
    bytes.remove_prefix(written);
  }
}

std::string read_all(HANDLE handle) {
  std::string bytes;
  char chunk[65536];
  DWORD count = 0;
  while (ReadFile(handle, chunk, sizeof chunk, &count, nullptr) != 0 && count > 0) {
    bytes.append(chunk, count);
  }
  return bytes;
}

// A temporary file, inherited by the child, deleted when the last handle to
// it closes.
Handle temporary_file() {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  check(GetTempPathA(MAX_PATH, folder) != 0 && GetTempFileNameA(folder, "rq", 0, path) != 0,
        "GetTempFileName");
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  Handle file(CreateFileA(
      path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  check(file.get() != nullptr, "CreateFile");
  return file;
}

void rewind(HANDLE file) { SetFilePointer(file, 0, nullptr, FILE_BEGIN); }

Handle file_holding(const GeneratedInput& input) {
  Handle file = temporary_file();
  write_all(file.get(), input.head);
  const std::string block(std::size_t{1} << 16, input.filler);
  for (std::size_t left = input.filler_count; left > 0;) {
    const std::size_t count = std::min(left, block.size());
    write_all(file.get(), std::string_view(block).substr(0, count));
    left -= count;
  }
  write_all(file.get(), input.tail);
  rewind(file.get());
  return file;
}

// The child's standard input and output, and this side's ends of them.
struct Wiring {
  HANDLE child_input = nullptr;
  HANDLE child_output = nullptr;
  std::vector<Handle> child_pipe_ends;  // closed once the child holds its own
  Handle feed;                          // where input is written, if a pipe
  Handle output_reader;                 // where output is read, if a pipe
};

// Starts the program, feeds it input and collects what it writes until it has
// ended.
Finished run(Wiring wiring, const std::string& input, const std::vector<std::string>& arguments) {
  Pipe errors = make_pipe(false);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = wiring.child_input;
  startup.hStdOutput = wiring.child_output;
  startup.hStdError = errors.child_end.get();
  PROCESS_INFORMATION process{};
  std::string line = command_line(program_path(), arguments);
  check(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process) != 0,
        "CreateProcess");
  Handle child(process.hProcess);
  CloseHandle(process.hThread);
  errors.child_end.close();
  wiring.child_pipe_ends.clear();

  Finished finished{};
  // Wine tells the memory of a running program only, so it is watched.
  std::thread memory_watch([&] {
    do {
      PROCESS_MEMORY_COUNTERS memory{};
      if (GetProcessMemoryInfo(child.get(), &memory, sizeof memory) != 0) {
        finished.peak_kib =
            std::max(finished.peak_kib, static_cast<long>(memory.PeakWorkingSetSize / 1024));
      }
    } while (WaitForSingleObject(child.get(), 1) == WAIT_TIMEOUT);
  });
  std::thread feeder([&] {
    write_all(wiring.feed.get(), input);
    wiring.feed.close();
  });
  std::thread error_reader([&] { finished.errors = read_all(errors.own_end.get()); });
  if (wiring.output_reader.get() != nullptr) finished.output = read_all(wiring.output_reader.get());
  feeder.join();
  error_reader.join();

  memory_watch.join();
  DWORD status = 0;
  GetExitCodeProcess(child.get(), &status);
  finished.status = static_cast<int>(status);
  return finished;
}

// Runs the program with its input wired already, its output to to.
Finished run_to(Wiring wiring, const std::string& input, OutputTo to,
                const std::vector<std::string>& arguments) {
  switch (to) {
    case OutputTo::Pipe:
    case OutputTo::PipeWithoutReader: {
      Pipe output = make_pipe(false);
      wiring.child_output = output.child_end.get();
      wiring.child_pipe_ends.push_back(std::move(output.child_end));
      wiring.output_reader = std::move(output.own_end);
      if (to == OutputTo::PipeWithoutReader) wiring.output_reader.close();
      return run(std::move(wiring), input, arguments);
    }
    case OutputTo::File: {
      const Handle file = temporary_file();
      wiring.child_output = file.get();
      Finished finished = run(std::move(wiring), input, arguments);
      rewind(file.get());
      finished.output = read_all(file.get());
      return finished;
    }
    case OutputTo::ClosedStream:
      return run(std::move(wiring), input, arguments);
    case OutputTo::FullDevice:
      break;
  }
  throw std::runtime_error("no such output on Windows");
}

Finished run_on_file(const GeneratedInput& input, OutputTo to,
                     const std::vector<std::string>& arguments) {
  const Handle file = file_holding(input);
  Wiring wiring;
  wiring.child_input = file.get();
  return run_to(std::move(wiring), "", to, arguments);
}

}  // namespace

bool has_full_device() { return false; }

Finished run_quiz(const std::string& input, InputFrom from, OutputTo to,
                  const std::vector<std::string>& arguments) {
  if (from == InputFrom::File) return run_on_file(GeneratedInput{input, 0, 0, ""}, to, arguments);
  Pipe pipe = make_pipe(true);
  Wiring wiring;
  wiring.child_input = pipe.child_end.get();
  wiring.child_pipe_ends.push_back(std::move(pipe.child_end));
  wiring.feed = std::move(pipe.own_end);
  return run_to(std::move(wiring), input, to, arguments);
}

Finished run_quiz(const GeneratedInput& input, OutputTo to) { return run_on_file(input, to, {}); }
