// n27-cli set: change feature settings of a data file the way their windows would.

#include <algorithm>
#include <iostream>

#include "channels/channel_context.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "features/feature_areas.h"
#include "features/setting_text.h"

namespace n27::cli {
namespace {

constexpr const char *kSetUsage =
    "Usage: n27-cli set FILE.dat AREA.NAME VALUE [AREA.NAME VALUE …]\n"
    "       n27-cli set --list [FILE.dat]\n"
    "\n"
    "Sets feature settings by the text a user would choose in their window, for example\n"
    "  n27-cli set radio.dat function.tot 120 scan.priority Fixd message.line1 HELLO\n"
    "Check boxes take On or Off. Nothing is saved unless every setting is accepted.\n"
    "--list names every setting with its choices (those of FILE.dat when it is given).\n";

void listSettings(const Workspace &ws) {
  for (const features::Area *area : features::FeatureAreas()) {
    std::cout << area->caption.get() << " (" << area->key << ")\n";
    for (const auto &s : area->settings) {
      std::string name = area->key + "." + s.key;
      name.resize(std::max<std::size_t>(name.size() + 2, 28), ' ');
      std::cout << "  " << name << s.label.get() << ": ";
      if (!s.choose)
        std::cout << "shown only";
      else if (!s.stored)
        std::cout << "held only while the desktop program runs";
      else
        std::cout << features::ChoicesText(s, ws);
      std::cout << "\n";
    }
  }
}

std::string why(features::ChooseResult r, const features::Setting &s, const Workspace &ws) {
  using features::ChooseStatus;
  switch (r.status) {
    case ChooseStatus::NotOffered:
      return "not one of the choices: " + features::ChoicesText(s, ws);
    case ChooseStatus::Disabled:
      return "the control is disabled in this configuration";
    default:
      return r.message.empty() ? "refused" : r.message;
  }
}

int RunSet(const std::vector<std::string> &args) {
  if (WantsHelp(args)) {
    std::cout << kSetUsage;
    return 0;
  }
  if (args.size() >= 2 && args[1] == "--list") {
    Workspace ws;
    if (args.size() > 3) return UsageError("set", "--list takes at most one data file", kSetUsage);
    if (args.size() == 3 && !LoadWorkspace("set", args[2], ws)) return 1;
    listSettings(ws);
    return 0;
  }
  if (args.size() < 4 || args.size() % 2 != 0)
    return UsageError("set", "give a data file and pairs of AREA.NAME VALUE", kSetUsage);

  const std::string path = args[1];
  Workspace ws;
  if (!LoadWorkspace("set", path, ws)) return 1;
  ChannelContext channels(ws, [](const std::string &text, MessageIcon) { std::cerr << text << "\n"; });
  features::FeatureContext ctx(channels);

  std::string done;  // what each setting shows now, printed once the file is saved
  for (std::size_t i = 2; i + 1 < args.size(); i += 2) {
    const std::string &name = args[i], &value = args[i + 1];
    auto ref = features::FindSetting(name);
    if (!ref.setting) return Fail("set", "no setting \"" + name + "\" (n27-cli set --list names them)");
    const features::Setting &s = *ref.setting;
    std::string problem;
    if (!s.choose)
      problem = "shown only";
    else if (!s.stored)
      problem = "held only while the desktop program runs, not in the file";
    else if (auto r = s.choose(ctx, value); !r.ok())
      problem = "\"" + value + "\": " + why(r, s, ws);
    if (!problem.empty() && problem.back() == '.') problem.pop_back();  // "…cell; nothing saved"
    if (!problem.empty()) return Fail("set", name + " " + problem + "; nothing saved");
    done += ref.area->key + "." + s.key + " = " + s.view(ws).shownText() + "\n";
  }
  if (!SaveWorkspace("set", ws, path)) return 1;
  std::cout << done;
  return 0;
}

}  // namespace
N27_CLI_COMMAND("set", "change feature settings of a data file by the texts their windows show", RunSet);
}  // namespace n27::cli
