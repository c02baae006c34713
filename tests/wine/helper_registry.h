// The helper's look at the registry below HKEY_LOCAL_MACHINE: a key tree
// forgotten before the loader starts (so that a scenario begins without what
// an earlier one left in the shared prefix), and printed after it ends as
//   value "KEY\NAME" sz "TEXT"      (a REG_SZ, without the zero Wine adds)
//   value "KEY\NAME" dword N
//   value "KEY\NAME" type T, N bytes
// with the keys in name order and each key's values in the order stored.
#pragma once

#include <string>

namespace qv::wine_test {

void ForgetKey(const std::string& key);
void PrintKey(const std::string& key);

}  // namespace qv::wine_test
