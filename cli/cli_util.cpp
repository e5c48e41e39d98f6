#include "cli/cli_util.h"

#include <algorithm>
#include <iostream>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/paths.h"
#include "cli/command_files.h"
#include "codeplug/configuration.h"
#include "link/tuning_block.h"

namespace n27::cli {

bool Args::has(const std::string &name) const {
  return std::any_of(options.begin(), options.end(), [&](const auto &o) { return o.first == name; });
}

std::string Args::value(const std::string &name, const std::string &fallback) const {
  for (auto it = options.rbegin(); it != options.rend(); ++it)
    if (it->first == name) return it->second;
  return fallback;
}

std::optional<Args> ParseArgs(const std::vector<std::string> &args,
                              const std::vector<OptionDef> &optionDefs, std::string &error) {
  Args out;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string &a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      out.positional.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = a, inlineValue;
    bool hasInline = false;
    if (auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = a.substr(0, eq);
      inlineValue = a.substr(eq + 1);
      hasInline = true;
    }
    const OptionDef *def = nullptr;
    for (const auto &s : optionDefs)
      if (std::find(s.names.begin(), s.names.end(), name) != s.names.end()) def = &s;
    if (!def) {
      error = "unknown option \"" + a + "\"";
      return std::nullopt;
    }
    if (!def->takesValue) {
      if (hasInline) {
        error = "option " + name + " takes no value";
        return std::nullopt;
      }
      out.options.emplace_back(def->names.front(), std::string());
      continue;
    }
    if (!hasInline) {
      if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return std::nullopt;
      }
      inlineValue = args[++i];
    }
    out.options.emplace_back(def->names.front(), inlineValue);
  }
  return out;
}

std::optional<Args> ParseCommand(const std::vector<std::string> &args,
                                 const std::vector<OptionDef> &optionDefs, const char *usage,
                                 int &exitCode) {
  const std::string command = args.empty() ? std::string() : args.front();
  if (WantsHelp(args)) {
    std::cout << usage;
    exitCode = 0;
    return std::nullopt;
  }
  std::string error;
  auto parsed = ParseArgs(args, optionDefs, error);
  if (!parsed) exitCode = UsageError(command, error, usage);
  return parsed;
}

bool WantsHelp(const std::vector<std::string> &args) {
  return std::any_of(args.begin() + (args.empty() ? 0 : 1), args.end(),
                     [](const std::string &a) { return a == "--help" || a == "-h"; });
}

int Fail(const std::string &command, const std::string &message) {
  std::cerr << "n27-cli " << command << ": " << message << "\n";
  return 1;
}

int UsageError(const std::string &command, const std::string &message, const char *usage) {
  std::cerr << "n27-cli " << command << ": " << message << "\n\n" << usage;
  return 2;
}

bool TestModeOn() { return link::LoadTestModeFlag(ShippedDataDir()); }

void PrepareWorkspace(Workspace &ws) {
  ws.programFolder = ShippedDataDir();
  ws.testMode = TestModeOn();
}

namespace {
// "file error." keeps its own line; the reason follows on the next.
void FailFile(const std::string &command, const std::string &path, FileStatus status,
              const FileOutcome &why) {
  std::string message = path + ": " + FileStatusText(status);
  if (status == FileStatus::FileError && !why.reason().empty()) message += "\n  " + why.reason();
  Fail(command, message);
}
}  // namespace

bool LoadWorkspace(const std::string &command, const std::string &path, Workspace &ws) {
  PrepareWorkspace(ws);
  NewConfiguration(ws);
  FileOutcome why;
  FileStatus status = LoadDataFile(ws, path, &why);
  if (status == FileStatus::Ok) return true;
  FailFile(command, path, status, why);
  return false;
}

bool SaveWorkspace(const std::string &command, Workspace &ws, const std::string &path) {
  FileOutcome why;
  FileStatus status = SaveDataFile(ws, path, &why);
  if (status == FileStatus::Ok) return true;
  FailFile(command, path, status, why);
  return false;
}

std::optional<std::string> EditedFileTarget(const std::string &command, const Args &args,
                                            const std::string &input,
                                            const std::vector<std::string> &lists) {
  const std::string out = args.has("-o") ? DataFileName(args.value("-o")) : input;
  CommandFiles files(TestModeOn());
  files.in(input, FileKind::Data).out(out, FileKind::Data);
  for (const std::string &list : lists) files.in(list, FileKind::List);
  if (auto clash = files.clash()) {
    Fail(command, *clash);
    return std::nullopt;
  }
  return out;
}

std::optional<RadioImage> ReadImageFile(const std::string &command, const std::string &path) {
  auto read = ReadWholeFile(path, RadioImage::kSize);
  if (read.outcome.problem == FileProblem::TooLarge) {
    Fail(command, path + ": an image file holds 2560 or 2561 bytes, this one holds " +
                      std::to_string(read.outcome.actualSize));
    return std::nullopt;
  }
  auto &bytes = read.bytes;
  if (!bytes) {
    Fail(command, path + ": cannot be read: " + read.outcome.reason());
    return std::nullopt;
  }
  if (bytes->size() != mem::kTransferEnd && bytes->size() != RadioImage::kSize) {
    Fail(command, path + ": an image file holds 2560 or 2561 bytes, this one holds " +
                      std::to_string(bytes->size()));
    return std::nullopt;
  }
  RadioImage image;
  for (std::size_t a = 0; a < bytes->size(); ++a) image.set(a, static_cast<uint8_t>((*bytes)[a]));
  return image;
}

bool WriteImageFile(const std::string &command, const RadioImage &image, const std::string &path) {
  std::string bytes(image.bytes().begin(), image.bytes().end());
  FileOutcome outcome = SaveFile(path, bytes);
  if (outcome.ok()) return true;
  Fail(command, path + ": cannot be written: " + outcome.reason());
  return false;
}

}  // namespace n27::cli
