#include "report/pagestore/QRPageBytes.h"

bool IsValidEmf(std::span<const Byte> bytes) { return IsSoundEmf(bytes); }
