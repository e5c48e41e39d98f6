#include "base/ui/pasted_text_filter.h"

#include <QLineEdit>
#include <QValidator>

namespace n27 {

namespace {

class FilteringValidator : public QValidator {
 public:
  FilteringValidator(CharacterFilter filter, QObject *parent) : QValidator(parent), filter_(std::move(filter)) {}

  State validate(QString &input, int &pos) const override {
    QString kept;
    int keptBeforeCursor = 0;
    const QList<uint> codes = input.toUcs4();
    int at = 0;  // position in UTF-16 units
    for (uint code : codes) {
      const int width = QChar::requiresSurrogates(code) ? 2 : 1;
      const auto taken = code < 32 ? std::nullopt : filter_(static_cast<char32_t>(code));
      if (taken) {
        const char32_t c = *taken;
        kept += QString::fromUcs4(&c, 1);
        if (at < pos) keptBeforeCursor = static_cast<int>(kept.size());
      }
      at += width;
    }
    if (kept != input) {
      input = kept;
      pos = keptBeforeCursor;
    }
    return Acceptable;
  }

 private:
  CharacterFilter filter_;
};

}  // namespace

void FilterPastedText(QLineEdit *box, CharacterFilter filter) {
  box->setValidator(new FilteringValidator(std::move(filter), box));
}

CharacterFilter Passing(bool (*passes)(char32_t)) {
  return [passes](char32_t c) -> std::optional<char32_t> {
    if (passes(c)) return c;
    return std::nullopt;
  };
}

}  // namespace n27
