#pragma once
// The plug-in's group factory for the tests: each test says what the next creation makes.

#include <functional>

class CProcessGroupInterface;

extern std::function<CProcessGroupInterface*()> gTestGroupFactory;
