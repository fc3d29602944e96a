/* The contract as the published interface table states it, beside what the SDK header says. */
#pragma once

#include <stddef.h>

#include "korvel/Win32.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ContractInterface {
    const char* name;
    const GUID* headerId;
    const char* idText; /* NULL: the table fixes none */
    int methods;
    size_t headerSlots; /* IUnknown's three included */
} ContractInterface;

typedef struct ContractSlot {
    const char* interfaceName;
    const char* method;
    int slot;
    size_t headerSlot;
} ContractSlot;

extern const ContractInterface ContractInterfaces[];
extern const int ContractInterfaceCount;
extern const ContractSlot ContractSlots[];
extern const int ContractSlotCount;

#ifdef __cplusplus
}
#endif
