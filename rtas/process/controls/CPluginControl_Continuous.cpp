#include "process/controls/CPluginControl_Continuous.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <sstream>

#include "process/base/CDAEError.h"

namespace
{
std::string FormatFixed (double value, int32_t decimals)
{
    std::ostringstream out;
    out << std::fixed << std::setprecision (decimals) << value;
    return out.str();
}

bool EndsWith (const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare (text.size() - ending.size(), ending.size(), ending) == 0;
}

[[noreturn]] void ThrowUnparsable()
{
    throw CDAEError (RTASError::kUnexpected);
}
}

CPluginControl_Continuous::CPluginControl_Continuous (uint32_t identifier, const char* name, double lower, double upper,
                                                      double defaultValue, bool automatable,
                                                      const SDisplayMultiplier* firstMultiplier,
                                                      const SDisplayMultiplier* lastMultiplier)
    : fIdentifier (identifier), fName (name != nullptr ? name : ""), fLower (lower), fUpper (upper), fDefault (defaultValue), fAutomatable (automatable)
{
    if (firstMultiplier != nullptr && lastMultiplier != nullptr && lastMultiplier >= firstMultiplier)
    {
        fMultipliers = firstMultiplier;
        fMultipliersEnd = lastMultiplier + 1;
    }
}

int32_t CPluginControl_Continuous::DefaultControlValue() const
{
    return ContinuousToControlValue (fDefault);
}

void CPluginControl_Continuous::StoreDefaultValue (int32_t controlValue)
{
    fDefault = ControlToContinuousValue (controlValue);
}

void CPluginControl_Continuous::SetBounds (double lower, double upper)
{
    fLower = lower;
    fUpper = upper;
}

void CPluginControl_Continuous::GetNameToFit (char* buffer, int32_t maxLength, int32_t) const
{
    CopyNameToFit (buffer, fName.c_str(), maxLength);
}

bool CPluginControl_Continuous::IsAllowedCharacter (int32_t characterCode) const
{
    if ((characterCode >= '0' && characterCode <= '9') || characterCode == '.')
        return true;
    constexpr int32_t kEditing[] = { 8, 28, 29, '+', '-' };
    if (std::find (std::begin (kEditing), std::end (kEditing), characterCode) != std::end (kEditing))
        return true;
    if (characterCode <= 0 || characterCode > 255)
        return false;
    const char character = static_cast<char> (characterCode);
    if (fUnit.find (character) != std::string::npos)
        return true;
    for (const SDisplayMultiplier* entry = fMultipliers; entry != fMultipliersEnd; ++entry)
        if (entry->text != nullptr && std::strchr (entry->text, character) != nullptr)
            return true;
    return false;
}

// The last entry whose factor the magnitude exceeds, walking in ascending order; the first entry
// when it exceeds none.
const SDisplayMultiplier* CPluginControl_Continuous::FindMultiplier (double magnitude) const
{
    const SDisplayMultiplier* chosen = fMultipliers;
    for (const SDisplayMultiplier* entry = fMultipliers; entry != fMultipliersEnd && magnitude > entry->factor; ++entry)
        chosen = entry;
    return chosen;
}

void CPluginControl_Continuous::ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const
{
    double x = ControlToContinuousValue (controlValue);
    const int32_t precision = std::max (fPrecision, int32_t (0));
    const size_t limit = static_cast<size_t> (std::max (maxLength, int32_t (0)));

    double factor = 1.0;
    std::string multiplier;
    if (x != 0.0 && fMultipliers != nullptr)
    {
        const SDisplayMultiplier* entry = FindMultiplier (std::fabs (x));
        factor = entry->factor;
        multiplier = entry->text != nullptr ? entry->text : "";
    }
    if (x < 0.0 && x > -std::pow (10.0, -precision))
        x = 0.0;

    // Each decimal takes a character: more decimals than the room can never fit.
    std::string number;
    for (int32_t decimals = std::min<int32_t> (precision, static_cast<int32_t> (limit)); decimals >= 0; --decimals)
    {
        number = FormatFixed (x / factor, decimals);
        if (number.size() + multiplier.size() <= limit)
            break;
    }

    const auto fits = [limit] (const std::string& text) { return text.size() <= limit; };
    const bool space = ! fUnit.empty();
    std::string text;
    if (space && fits (number + " " + multiplier + fUnit))
        text = number + " " + multiplier + fUnit;
    else if (fits (number + multiplier + fUnit))
        text = number + multiplier + fUnit;
    else if (fits (number + multiplier))
        text = number + multiplier;
    else if (fits ("* " + multiplier + fUnit))
        text = "* " + multiplier + fUnit;
    else if (fits ("*" + multiplier + fUnit))
        text = "*" + multiplier + fUnit;
    else if (fits ("*" + multiplier))
        text = "*" + multiplier;
    else
        text = "*";
    CopyTextToFit (buffer, text.c_str(), maxLength);
}

int32_t CPluginControl_Continuous::TextToValue (const char* text) const
{
    if (text == nullptr)
        ThrowUnparsable();
    std::istringstream in (text);
    double number = 0.0;
    if (! (in >> number))
        ThrowUnparsable();
    std::string word, extra;
    in >> word;
    if (in >> extra)
        ThrowUnparsable();
    if (! fUnit.empty() && EndsWith (word, fUnit))
        word.erase (word.size() - fUnit.size());

    double factor = 1.0;
    if (fMultipliers != nullptr)
    {
        const SDisplayMultiplier* match = std::find_if (fMultipliers, fMultipliersEnd, [&word] (const SDisplayMultiplier& entry) {
            return word == (entry.text != nullptr ? entry.text : "");
        });
        if (match == fMultipliersEnd)
            ThrowUnparsable();
        factor = match->factor;
    }
    else if (! word.empty())
    {
        ThrowUnparsable();
    }
    return ContinuousToControlValue (number * factor);
}
