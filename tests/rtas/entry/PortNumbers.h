#pragma once
// The port numbers of a plug-in's port list, in list order.

#include <cstdint>
#include <vector>

#include "entry/CSet.h"
#include "entry/model/CPlugInPort.h"

inline std::vector<int32_t> PortNumbers (CSet<CPlugInPort>& ports)
{
    std::vector<int32_t> numbers;
    for (CSet<CPlugInPort>::Iterator port (ports); port.IsValid(); port.Next())
        numbers.push_back (port.Current()->GetPortNumber());
    return numbers;
}
