#pragma once
// Key Setting (FrmKeyAssignm): a function for a short press and a hold of the radio's two
// programmable keys. A key's value is a function code: its position in the full function
// list, 255 for an unprogrammed key.

#include <string>
#include <vector>

#include "features/setting.h"

namespace n27::features {

// The function code the Alert Locked box takes away from every key while it is ticked.
inline constexpr int kAlertLockedFunctionCode = 15;

// The full list of function names in code order (codes 0..7), current language.
std::vector<std::string> FunctionNames();
// The functions key k (0 Key1 Press, 1 Key2 Press, 2 Key1 Hold, 3 Key2 Hold) offers, as codes.
const std::vector<int> &KeyFunctionCodes(int key);

// With Alert Locked ticked every key holding function code 15 is set to 0 ("None").
// True when a key changed. The Key Setting window runs it before it shows its values.
bool AlertLockedCleanUp(CodeplugData &data);

const Area &KeyAssignmentArea();

}  // namespace n27::features
