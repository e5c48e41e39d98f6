#pragma once
// Where the program's files lie.
//
// Three kinds of folder, never mixed:
//   shipped data   read only: language/, Init/, help/, dec.tbl, the first BatchFun.ini, the
//                  splash pictures. Build tree: the program folder itself (build/program);
//                  installed: <prefix>/share/n27 beside <prefix>/bin.
//   settings       written: mysetup.ini, Setting.ini, BatchFun.ini, n27.ini (window geometry,
//                  recent files) in $XDG_CONFIG_HOME/n27 (default ~/.config/n27).
//   user data      written: backups, logs, recovered images in $XDG_DATA_HOME/n27 (default
//                  ~/.local/share/n27).
// The program folder and the shipped data are never written.

#include <string>

namespace n27 {

// The folder of the running executable. Overridable with N27_PROGRAM_DIR (tests).
std::string ProgramFolder();
// True when the program runs from an installed layout: <prefix>/bin with <prefix>/share/n27.
bool IsInstalledLayout();
// The folder of the data shipped with the program (see above). Overridable with N27_DATA_DIR.
std::string ShippedDataDir();
// JoinPath(ShippedDataDir(), relative).
std::string ShippedPath(const std::string &relative);
// The version table "Version.ini": in the folder above the program folder, where releases
// installed side by side share it (build tree: build/Version.ini); installed: in the shipped
// data folder (<prefix>/share/n27/Version.ini).
std::string VersionFile();

// $XDG_CONFIG_HOME (an absolute path), else ~/.config.
std::string ConfigHome();
// $XDG_DATA_HOME (an absolute path), else ~/.local/share.
std::string DataHome();
// The user's settings folder <ConfigHome()>/n27, created (mode 0700) when missing.
std::string ConfigDir();
// The user's data folder <DataHome()>/n27 for backups, logs and recovered images, created
// (mode 0700) when missing.
std::string DataDir();
// A subfolder of DataDir() ("backups", "logs" …), created when missing.
std::string DataSubdir(const std::string &name);

// Older name of ConfigDir(): the folder the program writes its own files to.
std::string WritableFolder();
// A file the program reads: the user's copy in ConfigDir() when it exists, else the shipped one.
std::string ReadablePath(const std::string &relative);

// Creates a folder and its missing parents with the given mode; true when it exists after.
bool MakeFolders(const std::string &folder, unsigned mode = 0700);
// Joins a folder and a relative path with one '/'.
std::string JoinPath(const std::string &folder, const std::string &relative);
// The parent folder of a folder ("/a/b/prog" → "/a/b").
std::string ParentFolder(const std::string &folder);

}  // namespace n27
