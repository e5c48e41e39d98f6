#pragma once
// Small helpers shared by the n27-cli commands: argument parsing, error output, loading and
// saving a workspace, reading and writing image files.

#include <optional>
#include <string>
#include <vector>

#include "codeplug/workspace.h"

namespace n27::cli {

// A command's parsed arguments: options with a value ("-o OUT", "--band 1", "--band=1"),
// flags ("--empty") and the positional arguments in order.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;  // first name of the option → value

  bool has(const std::string &name) const;
  std::string value(const std::string &name, const std::string &fallback = {}) const;
};

// One accepted option: its names ("-o", "--output") and whether it takes a value.
struct OptionDef {
  std::vector<std::string> names;
  bool takesValue = false;
};

// Parses args[1..] (args[0] is the command name). An unknown option or a missing value gives
// nullopt with a message in `error`. "--" ends the options.
std::optional<Args> ParseArgs(const std::vector<std::string> &args,
                              const std::vector<OptionDef> &optionDefs, std::string &error);

// The usual start of a command: -h/--help prints the usage (exit code 0); an unknown option
// or a missing value prints the message and the usage (exit code 2). Returns the parsed
// arguments, or nullopt with the exit code to return in `exitCode`.
std::optional<Args> ParseCommand(const std::vector<std::string> &args,
                                 const std::vector<OptionDef> &optionDefs, const char *usage,
                                 int &exitCode);

// True when the arguments ask for help (-h, --help).
bool WantsHelp(const std::vector<std::string> &args);

// Prints "n27-cli COMMAND: message" on stderr; returns 1 (a failure).
int Fail(const std::string &command, const std::string &message);
// Prints the message and the usage on stderr; returns 2 (wrong use).
int UsageError(const std::string &command, const std::string &message, const char *usage);

// The factory test mode of the command line: the marker file in the program folder.
bool TestModeOn();
// A workspace for the command line: the program folder is the folder of n27-cli, and the
// test mode as above (a data file then brings its ".ted" along).
void PrepareWorkspace(Workspace &ws);
// Prepares ws, starts from a new configuration as the desktop program does (the radio
// information of a new configuration, which no data file holds) and loads the data file;
// prints the error ("file error.", "Model Error!") and returns false on failure.
bool LoadWorkspace(const std::string &command, const std::string &path, Workspace &ws);
// Saves the working copy; prints the error and returns false on failure.
bool SaveWorkspace(const std::string &command, Workspace &ws, const std::string &path);

// The data file an editing command saves to: OUT of -o (".dat" added to a name without an
// extension, as the desktop's Save dialog does), else `input` itself. Prints the refusal and
// returns nullopt when OUT (or its side file) is the same file as the input, its side file or
// one of `lists` (channel lists the command reads).
std::optional<std::string> EditedFileTarget(const std::string &command, const Args &args,
                                            const std::string &input,
                                            const std::vector<std::string> &lists = {});

// Reads an image file of 2560 bytes (addresses 0..2559) or 2561 bytes (the whole image);
// prints the error and returns nullopt for any other size or a read error.
std::optional<RadioImage> ReadImageFile(const std::string &command, const std::string &path);
// Writes the whole 2561-byte image; prints the error and returns false on failure.
bool WriteImageFile(const std::string &command, const RadioImage &image, const std::string &path);

}  // namespace n27::cli
