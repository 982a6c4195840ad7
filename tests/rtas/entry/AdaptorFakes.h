#pragma once
// A process and a process type for the adaptor plug-in, answering its questions as a test sets
// them, with connection-record arrays of exactly the process's slot count.

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "entry/adaptor/AdaptorProcess.h"

class FakeAdaptorType : public IAdaptorProcessType
{
public:
    int32_t GetName (char* name) override
    {
        if (nameResult != 0)
            return nameResult;
        name[0] = static_cast<char> (name_.size());
        std::memcpy (name + 1, name_.data(), name_.size());
        return 0;
    }

    int32_t GetCardInfo (int32_t key, int32_t* value) override
    {
        keysAsked.push_back (key);
        for (const auto& [known, answer] : cardInfo)
            if (known == key)
                *value = answer;
        return 0;
    }

    int32_t GetNumConnectionInfos (int32_t id, int32_t* count) override
    {
        idsAsked.push_back (id);
        *count = static_cast<int32_t> (stems.size());
        return 0;
    }

    int32_t GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info) override
    {
        idsAsked.push_back (id);
        if (index < 0 || index >= static_cast<int32_t> (stems.size()))
            return -7103;
        *info = stems[static_cast<size_t> (index)];
        return 0;
    }

    void SetName (std::string name) { name_ = std::move (name); }

    int32_t nameResult = 0;
    std::vector<std::pair<int32_t, int32_t>> cardInfo;
    std::vector<SFicPlugInStemInfo> stems;
    std::vector<int32_t> keysAsked;
    std::vector<int32_t> idsAsked;

private:
    std::string name_ = "Compressor";
};

class FakeAdaptorProcess : public IAdaptorProcess
{
public:
    explicit FakeAdaptorProcess (FakeAdaptorType* type, int16_t inputs = 2, int16_t outputs = 2, int32_t slots = 4)
        : type_ (type), inputs_ (inputs), outputs_ (outputs), slots_ (slots), inputRecords_ (std::make_unique<SConnectionRecord*[]> (static_cast<size_t> (slots))), outputRecords_ (std::make_unique<SConnectionRecord*[]> (static_cast<size_t> (slots))), records_ (static_cast<size_t> (2 * slots))
    {
        for (int32_t i = 0; i < slots; ++i)
        {
            inputRecords_[static_cast<size_t> (i)] = &records_[static_cast<size_t> (i)];
            outputRecords_[static_cast<size_t> (i)] = &records_[static_cast<size_t> (slots + i)];
        }
    }

    IAdaptorProcessType* GetAdaptorType() override { return type_; }
    int16_t GetInstanceID() override { return 7; }

    int32_t GetNumInputs (int16_t* count) override
    {
        *count = inputs_;
        return countResult;
    }

    int32_t GetNumOutputs (int16_t* count) override
    {
        *count = outputs_;
        return 0;
    }

    int32_t GetNumConnectionSlots() override { return slots_; }

    int32_t Render (const SAdaptorRenderRecord* record) override
    {
        renders.push_back (*record);
        if (throwsWhileRendering)
            throw std::runtime_error ("render failed");
        return renderResult;
    }

    void SetRendered() override { ++renderedMarks; }

    SConnectionRecord** InputRecords() { return inputRecords_.get(); }
    SConnectionRecord** OutputRecords() { return outputRecords_.get(); }
    SConnectionRecord& Input (int32_t i) { return records_[static_cast<size_t> (i)]; }
    SConnectionRecord& Output (int32_t i) { return records_[static_cast<size_t> (slots_ + i)]; }
    void RemoveInputRecord (int32_t i) { inputRecords_[static_cast<size_t> (i)] = nullptr; }
    void RemoveOutputRecord (int32_t i) { outputRecords_[static_cast<size_t> (i)] = nullptr; }

    int32_t countResult = 0;
    int32_t renderResult = 0;
    bool throwsWhileRendering = false;
    std::vector<SAdaptorRenderRecord> renders;
    int renderedMarks = 0;

private:
    FakeAdaptorType* type_;
    int16_t inputs_;
    int16_t outputs_;
    int32_t slots_;
    std::unique_ptr<SConnectionRecord*[]> inputRecords_;
    std::unique_ptr<SConnectionRecord*[]> outputRecords_;
    std::vector<SConnectionRecord> records_;
};
