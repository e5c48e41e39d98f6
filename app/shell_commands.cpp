#include "app/shell_commands.h"

#include "base/messages.h"
#include "channels/channel_changes.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "link/transfer_session.h"

namespace n27 {

namespace {

// "file error." keeps its text; the reason (no such file, wrong size …) is its detail.
void reportFileStatus(FileStatus status, const FileOutcome &why, ShellHost &host) {
  if (status == FileStatus::ModelError)
    host.showMessage(msg::kModelError, BoxIcon::Critical);
  else if (status == FileStatus::FileError)
    host.showMessage(Text(msg::kFileError), BoxIcon::Critical, why.reason());
}

bool save(Workspace &ws, ShellHost &host, const std::string &path) {
  FileOutcome why;
  FileStatus status = SaveDataFile(ws, path, &why);
  if (status != FileStatus::Ok) {
    reportFileStatus(status, why, host);
    // The radio's data must outlive a save that failed: keep them and say where.
    if (std::string kept = KeepReadAfterFailedSave(ws); !kept.empty())
      host.showMessage(kept, BoxIcon::Information);
    return false;
  }
  ws.readNotSaved = false;
  host.setCaptionForm(CaptionForm::File);
  return true;
}

}  // namespace

std::string DataFileFilter() { return std::string(Text(msg::kFileFilterLabel)) + " (*.dat)"; }

std::string WithDataExtension(const std::string &path) {
  std::string name = FileNameOnly(path);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + ".dat";
}

void LoadNewDoc(Workspace &ws, ShellHost &host) {
  host.closeAllWindows();
  NewConfiguration(ws);
  ws.readNotSaved = false;
  host.openDefaultEditors();
  host.setCaptionForm(CaptionForm::New);
}

bool FileNew(Workspace &ws, ShellHost &host) {
  if (host.ask(Text(msg::kNewConfiguration), Prompt::WarningOkCancel) != Answer::Ok) return false;
  LoadNewDoc(ws, host);
  return true;
}

bool OfferToSaveChanges(Workspace &ws, ShellHost &host) {
  host.storePendingInput();
  if (!IsModified(ws.working, ws.saved)) return true;
  switch (host.ask(Text(msg::kModified), Prompt::WarningYesNoCancel)) {
    case Answer::Yes: return FileSave(ws, host);
    case Answer::No: return true;
    default: return false;
  }
}

bool FileOpen(Workspace &ws, ShellHost &host) {
  if (!OfferToSaveChanges(ws, host)) return false;
  auto path = host.chooseFileToOpen();
  if (!path || path->empty()) return false;
  return OpenDataFile(ws, host, *path);
}

bool OpenDataFile(Workspace &ws, ShellHost &host, const std::string &path) {
  host.closeAllWindows();
  FileOutcome why;
  FileStatus status = LoadDataFile(ws, path, &why);
  host.openDefaultEditors();  // the new data, or the previous data again after a failure
  if (status != FileStatus::Ok) {
    reportFileStatus(status, why, host);
    return false;
  }
  ws.readNotSaved = false;
  host.setCaptionForm(CaptionForm::File);
  return true;
}

bool FileSave(Workspace &ws, ShellHost &host) {
  if (ws.untitled) return FileSaveAs(ws, host);
  host.storePendingInput();
  std::string question = "\"" + ws.fileName + "\"" + Text(msg::kOverwrite);
  if (host.ask(question, Prompt::QuestionOkCancel) != Answer::Ok) return false;
  return save(ws, host, ws.fileName);
}

bool FileSaveAs(Workspace &ws, ShellHost &host) {
  host.storePendingInput();
  auto path = host.chooseFileToSave(ws.fileName);
  if (!path || path->empty()) return false;
  return save(ws, host, WithDataExtension(*path));
}

bool ApplyModelInformation(Workspace &ws, ShellHost &host, const std::string &modelText,
                           const std::string &bandText) {
  if (bandText == ws.bandText && modelText == ws.modelFamily) return false;
  // A band without a table entry ("Unknown Band") has no limits and no default file.
  if (bandText != kBand400 && bandText != kBand136) return false;
  if (host.ask(Text(msg::kFrequencyData), Prompt::WarningOkCancel) != Answer::Ok) return false;
  // The switch, new configuration included, is one undo step: undoing it brings back the band
  // and the configuration (with its file name and saved copy) that were open before.
  EditStep undoStep(ws, step::ModelInformation(), StepScope::Document);
  ws.modelFamily = kModelCode;
  ws.bandText = bandText;
  ws.modelName = kModelCode;
  ws.working.modelName.assignNulPadded(ws.modelName);
  ws.working.bandCode = static_cast<uint16_t>(BandCode(bandText));
  SetBandLimits(ws);
  LoadNewDoc(ws, host);
  return true;
}

}  // namespace n27
