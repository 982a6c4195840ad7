#include "AAX_CParameterRegistry.h"

#include <cstring>

AAX_CParameterRegistry::~AAX_CParameterRegistry()
{
    RemoveAllParameters();
}

void AAX_CParameterRegistry::SetAutomationDelegate (AAX_IAutomationDelegate* delegate)
{
    automation_ = delegate;
    for (const auto& parameter : parameters_)
        parameter->SetAutomationDelegate (delegate);
}

bool AAX_CParameterRegistry::AddParameter (std::unique_ptr<AAX_IParameter> parameter)
{
    if (parameter == nullptr || byIdentifier_.count (std::string_view (parameter->Identifier())) != 0)
        return false;
    parameter->SetAutomationDelegate (automation_);
    byIdentifier_.emplace (parameter->Identifier(), parameter.get());
    parameters_.push_back (std::move (parameter));
    return true;
}

void AAX_CParameterRegistry::RemoveAllParameters()
{
    byIdentifier_.clear();
    for (auto& parameter : parameters_)
        parameter.reset();
    parameters_.clear();
}

AAX_IParameter* AAX_CParameterRegistry::GetParameterByID (const char* identifier) const noexcept
{
    if (identifier == nullptr)
        return nullptr;
    const auto found = byIdentifier_.find (std::string_view (identifier));
    return found != byIdentifier_.end() ? found->second : nullptr;
}

int32_t AAX_CParameterRegistry::GetParameterIndex (const char* identifier) const
{
    if (identifier == nullptr)
        return -1;
    for (size_t i = 0; i < parameters_.size(); ++i)
        if (std::strcmp (parameters_[i]->Identifier(), identifier) == 0)
            return static_cast<int32_t> (i);
    return -1;
}

AAX_IParameter* AAX_CParameterRegistry::GetParameterByIndex (int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return parameters_[static_cast<size_t> (index)].get();
}
