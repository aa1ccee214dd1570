#include "platform/UnguessableName.h"

#include <windows.h>
#include <objbase.h>

#include "core/Exceptions.h"
#include "platform/SystemError.h"

std::string UnguessableName() {
  // A new GUID is made of the system's random numbers.
  GUID guid{};
  const HRESULT result = CoCreateGuid(&guid);
  if (result != S_OK) throw Exception("No random name: " + SystemErrorText(static_cast<unsigned long>(result)));
  char name[33];
  wsprintfA(name, "%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", guid.Data1, guid.Data2, guid.Data3,
            guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
            guid.Data4[6], guid.Data4[7]);
  return name;
}
