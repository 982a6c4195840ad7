// The instance's parameters in registration order (the host's parameter index), found by
// identifier. The registry owns them.
#pragma once

#include "AAX_IParameter.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AAX_CParameterRegistry
{
public:
    AAX_CParameterRegistry() = default;
    AAX_CParameterRegistry (const AAX_CParameterRegistry&) = delete;
    AAX_CParameterRegistry& operator= (const AAX_CParameterRegistry&) = delete;
    ~AAX_CParameterRegistry();

    // The delegate given to parameters added from now on, and to every registered one; null
    // detaches them all (before the delegate itself is deleted). [host thread]
    void SetAutomationDelegate (AAX_IAutomationDelegate* delegate);

    // Takes ownership. A parameter whose identifier is registered already is refused and
    // deleted; so is a null one. Returns whether it was added. [host thread]
    bool AddParameter (std::unique_ptr<AAX_IParameter> parameter);
    // Deletes every parameter in registration order. [host thread]
    void RemoveAllParameters();

    // Looks the host's text up as it stands: nothing is allocated, nothing thrown.
    AAX_IParameter* GetParameterByID (const char* identifier) const noexcept;
    // Position in registration order, -1 when not registered.
    int32_t GetParameterIndex (const char* identifier) const;
    int32_t Count() const { return static_cast<int32_t> (parameters_.size()); }
    // The parameter at a position, null outside 0..Count()-1.
    AAX_IParameter* GetParameterByIndex (int32_t index) const;

private:
    AAX_IAutomationDelegate* automation_ = nullptr;
    std::vector<std::unique_ptr<AAX_IParameter>> parameters_;
    std::map<std::string, AAX_IParameter*, std::less<>> byIdentifier_;
};
