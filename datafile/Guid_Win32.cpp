// The GUID source on Windows: the platform's CoCreateGuid.
#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "core/Exceptions.h"
#include "datafile/LIB_DataTypes.h"

TGUID NewGuid() {
  GUID platformGuid;
  const HRESULT result = CoCreateGuid(&platformGuid);
  if (FAILED(result)) throw Exception("CoCreateGuid failed with code " + std::to_string(result));
  TGUID guid;
  static_assert(sizeof guid == sizeof platformGuid);
  std::memcpy(&guid, &platformGuid, sizeof guid);
  return guid;
}
