#pragma once
// A 16-bit member of one of CodeplugData's records, as a plain function: Member<&CodeplugData::
// function, &FunctionSetup::tot> hands out data.function.tot. Tables of settings (the image
// byte map, the feature windows) name their fields this way.

#include <cstdint>

#include "codeplug/codeplug_data.h"

namespace n27 {

template <auto Record, auto Field>
int16_t &Member(CodeplugData &data) {
  return (data.*Record).*Field;
}

using FieldRef = int16_t &(*)(CodeplugData &);

// Reads a field of a record that is not to be changed (the reference is only read).
inline int16_t ReadMember(FieldRef field, const CodeplugData &data) {
  return field(const_cast<CodeplugData &>(data));
}

}  // namespace n27
