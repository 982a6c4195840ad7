// A host-visible parameter of an instance, as the registry and the effect parameters see it.
#pragma once

#include "AAX_CString.h"
#include "AAX_DisplayDelegates.h"
#include "AAX_TaperDelegates.h"
#include "AAX_VAutomationDelegate.h"

class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;
    virtual const char* Identifier() const = 0;
    virtual void SetName (const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName (const AAX_CString& name) = 0;
    virtual AAX_CString ShortenedName (int32_t length) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool Automatable() const = 0;
    virtual void SetAutomationDelegate (AAX_IAutomationDelegate* delegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;
    virtual void SetNormalizedValue (double normalizedValue) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue (double normalizedValue) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;
    virtual void SetNumberOfSteps (int32_t steps) = 0;
    virtual int32_t GetNumberOfSteps() const = 0;
    virtual int32_t GetStepValue() const = 0;
    virtual void SetStepValue (int32_t step) = 0;
    virtual bool GetValueString (int32_t maxLength, AAX_CString* outText) const = 0;
    virtual bool GetValueString (AAX_CString* outText) const = 0;
    virtual bool GetNormalizedValueFromString (const AAX_CString& text, double* outValue) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, int32_t maxLength, AAX_CString* outText) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, AAX_CString* outText) const = 0;
    virtual bool SetValueFromString (const AAX_CString& text) = 0;
    virtual bool GetValueAsBool (bool* outValue) const = 0;
    virtual bool GetValueAsInt32 (int32_t* outValue) const = 0;
    virtual bool GetValueAsFloat (float* outValue) const = 0;
    virtual bool GetValueAsDouble (double* outValue) const = 0;
    virtual bool GetValueAsString (AAX_CString* outValue) const = 0;
    virtual bool SetValueWithBool (bool value) = 0;
    virtual bool SetValueWithInt32 (int32_t value) = 0;
    virtual bool SetValueWithFloat (float value) = 0;
    virtual bool SetValueWithDouble (double value) = 0;
    virtual bool SetValueWithString (const AAX_CString& value) = 0;
    virtual void SetType (int32_t type) = 0;
    virtual int32_t GetType() const = 0;
    virtual void SetOrientation (int32_t orientation) = 0;
    virtual int32_t GetOrientation() const = 0;
    virtual void SetTaperDelegate (const AAX_ITaperDelegateBase& taper, bool preserveValue) = 0;
    virtual void SetDisplayDelegate (const AAX_IDisplayDelegateBase& display) = 0;
    // The host's confirmed value.
    virtual void UpdateNormalizedValue (double normalizedValue) = 0;
};
