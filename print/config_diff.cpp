#include "print/config_diff.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "base/file_io.h"
#include "channels/channel_context.h"
#include "codeplug/configuration.h"
#include "codeplug/data_file_layout.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "features/feature_areas.h"
#include "features/radio_information.h"
#include "features/setting.h"
#include "print/report.h"

namespace n27::print {
namespace {

std::string fill(const Tr &t, const std::string &arg) {
  std::string s = t.get();
  if (auto at = s.find("%1"); at != std::string::npos) s.replace(at, 2, arg);
  return s;
}

// Each channel as its printed rows show it: the label/value pairs by channel number.
std::map<int, std::vector<ReportPair>> channelPairs(const Workspace &ws) {
  Workspace copy = ws;  // the report works on a channel context of its own
  ChannelContext ctx(copy);
  std::vector<int> numbers;
  for (int k = 1; k <= copy.working.channelCount && k <= kMaxChannels; ++k)
    numbers.push_back(copy.working.channels[k - 1].number);
  std::stable_sort(numbers.begin(), numbers.end());

  std::map<int, std::vector<ReportPair>> out;
  std::size_t next = 0;
  std::vector<ReportPair> *current = nullptr;
  for (ReportRow &row : SectionRows(ctx, PrintItem::Channel)) {
    if (!row.heading.empty()) {  // one heading per channel, lowest number first
      current = next < numbers.size() ? &out[numbers[next++]] : nullptr;
      continue;
    }
    if (current)
      for (ReportPair &p : row.pairs) current->push_back(std::move(p));
  }
  return out;
}

std::string channelSection(int number) { return std::string(difftext::kChannel.get()) + " " + std::to_string(number); }

// The value a one-sided channel is recognised by: its RX frequency.
std::string summary(const std::vector<ReportPair> &pairs) { return pairs.empty() ? std::string() : pairs.front().value; }

// The configuration as the radio would hold it after a write: encoded into an image and
// decoded back into a new configuration.
Workspace asRadioHolds(const Workspace &ws) {
  Workspace written = ws;
  EncodeImage(written);
  Workspace read;
  read.programFolder = ws.programFolder;
  read.loadDefaultFile = false;
  NewConfiguration(read);
  read.image = written.image;
  DecodeImage(read);
  return read;
}

}  // namespace

std::vector<Difference> CompareConfigurations(const Workspace &firstIn, const Workspace &secondIn,
                                              CompareScope scope) {
  if (scope == CompareScope::RadioMemory)
    return CompareConfigurations(asRadioHolds(firstIn), asRadioHolds(secondIn), CompareScope::Everything);
  const Workspace &first = firstIn, &second = secondIn;
  std::vector<Difference> out;
  const auto a = channelPairs(first), b = channelPairs(second);
  for (int n = 1; n <= kMaxChannels; ++n) {
    auto ia = a.find(n), ib = b.find(n);
    if (ia == a.end() && ib == b.end()) continue;
    if (ia == a.end() || ib == b.end()) {
      out.push_back({channelSection(n), "", ia == a.end() ? difftext::kNoChannel.get() : summary(ia->second),
                     ib == b.end() ? difftext::kNoChannel.get() : summary(ib->second), n});
      continue;
    }
    const auto &pa = ia->second, &pb = ib->second;
    for (std::size_t i = 0; i < std::max(pa.size(), pb.size()); ++i) {
      const std::string label = i < pa.size() ? pa[i].label : pb[i].label;
      const std::string va = i < pa.size() ? pa[i].value : "", vb = i < pb.size() ? pb[i].value : "";
      if (va != vb) out.push_back({channelSection(n), label, va, vb, n});
    }
  }

  if (first.modelName != second.modelName)
    out.push_back({difftext::kModel.get(), difftext::kModel.get(), first.modelName, second.modelName, 0});
  if (first.bandText != second.bandText)
    out.push_back({difftext::kModel.get(), difftext::kBand.get(), first.bandText, second.bandText, 0});

  for (const features::Area *area : features::FeatureAreas()) {
    // The radio's embedded information is no part of a configuration (no data file holds it).
    if (area == &features::RadioInformationArea()) continue;
    for (const features::Setting &s : area->settings) {
      if (!s.stored || !s.view) continue;
      const std::string va = s.shownText(first), vb = s.shownText(second);
      if (va != vb) out.push_back({area->caption.get(), s.label.get(), va, vb, 0});
    }
  }
  return out;
}

bool LoadComparable(Workspace &ws, const std::string &path, std::string &error, bool *isImage) {
  if (isImage) *isImage = false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = fill(std::filesystem::exists(path, ec) ? difftext::kNotRegular : difftext::kUnreadable, path);
    return false;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = fill(difftext::kUnreadable, path);
    return false;
  }
  if (size == static_cast<std::uintmax_t>(datafile::kFileSize)) {
    FileStatus status = LoadDataFile(ws, path);
    if (status != FileStatus::Ok) error = path + ": " + FileStatusText(status);
    return status == FileStatus::Ok;
  }
  if (size != static_cast<std::uintmax_t>(mem::kTransferEnd) && size != static_cast<std::uintmax_t>(RadioImage::kSize)) {
    error = fill(difftext::kNotConfiguration, path);
    return false;
  }
  auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->size() != size) {
    error = fill(difftext::kUnreadable, path);
    return false;
  }
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  for (std::size_t at = 0; at < bytes->size(); ++at) ws.image.set(at, static_cast<uint8_t>((*bytes)[at]));
  DecodeImage(ws);
  ws.fileName = path;
  if (isImage) *isImage = true;
  return true;
}

std::string DifferencesText(const std::vector<Difference> &diffs, const std::string &firstName,
                            const std::string &secondName) {
  std::string out;
  for (const Difference &d : diffs) {
    out += d.section + ": ";
    if (d.item.empty()) {
      const bool inFirst = d.second == difftext::kNoChannel.get();
      out += fill(difftext::kOnlyIn, inFirst ? firstName : secondName) + " (" + (inFirst ? d.first : d.second) + ")";
    } else {
      out += d.item + ": " + d.first + " → " + d.second;
    }
    out += "\n";
  }
  out += diffs.empty() ? std::string(difftext::kEqual.get()) : fill(difftext::kCount, std::to_string(diffs.size()));
  out += "\n";
  return out;
}

}  // namespace n27::print
