#pragma once

#include <cstdint>

// Channel count of a stem-format index (0 mono .. 10 eight channels); other indexes throw -7401.
int32_t MapFormatIndexToCode (int32_t stemFormatIndex);
