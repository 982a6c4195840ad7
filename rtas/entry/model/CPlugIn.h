#pragma once
// A plug-in as the engine's object tracker knows it: its identity record, its input and output ports, its
// controls, its user interface and its workers. `CDefaultPlugIn` is what a plug-in type answers
// for a plug-in it does not have. A plug-in without a type (the adaptor) has no default objects.
//
// The operations named Reserved keep the host's table order; they answer the fixed defaults
// below and nothing in the library relies on them.
//
// [host thread] for every operation.

#include <cstdint>
#include <memory>

#include "entry/CSet.h"
#include "entry/model/PlugInIdentity.h"

class CPlugInType;
class CPlugInPort;
class CSNPlugInControl;
class CPlugInUserInterface;
class CPlugInWorker;

class CPlugIn
{
public:
    // Registers with the tracker (kind 3). The type may be null.
    CPlugIn (const SPlugInSpec& spec, CPlugInType* type);
    CPlugIn (const CPlugIn&) = delete;
    CPlugIn& operator= (const CPlugIn&) = delete;

    // Deletes the user interface, unregisters, then deletes the ports that are still listed.
    virtual ~CPlugIn();
    virtual void GetSpec (SPlugInSpec* spec);
    virtual int32_t GetNumInputs();
    // 0 for n below 0; -7152 for another count while the inputs cannot change; -9013 when a port
    // cannot be made or is missing; otherwise publishes the plug-in again and answers 0.
    virtual int32_t SetNumInputs (int32_t count);
    // Input n (1-based), else the type's default port.
    virtual CPlugInPort* GetInput (int32_t n);
    virtual int32_t GetNumOutputs();
    virtual int32_t SetNumOutputs (int32_t count);
    virtual CPlugInPort* GetOutput (int32_t n);
    virtual int32_t GetNumControls();
    virtual CSNPlugInControl* GetControl (int32_t n);
    virtual CPlugInUserInterface* GetUserInterface();
    virtual int32_t Reserved1();
    virtual int32_t Reserved2();
    virtual void Reserved3 (char* text);
    virtual void Reserved4 (int32_t* out);
    virtual int32_t Reserved5();
    virtual int32_t Reserved6();
    virtual bool Reserved7();
    virtual void Reserved8();
    virtual void Reserved9();
    virtual void Reserved10();
    virtual void Reserved11();
    virtual void Reserved12();
    virtual void Reserved13();
    virtual int32_t Reserved14();
    virtual int32_t Reserved15();
    virtual bool Reserved16();
    virtual int32_t Reserved17();
    virtual bool Reserved18();
    virtual int32_t Reserved19();
    virtual int32_t Reserved20();
    virtual int32_t Reserved21 (int32_t first, int32_t second);
    virtual int32_t Reserved22();
    virtual int32_t Reserved23();
    virtual int32_t Reserved24();
    virtual void Reserved25 (char* text);
    virtual int32_t Reserved26();
    virtual int32_t Reserved27();
    virtual int32_t Reserved28();
    virtual int32_t Reserved29();
    virtual void Reserved30();
    virtual int32_t Reserved31();
    virtual int32_t Reserved32();
    virtual void Reserved33 (char* text);
    virtual int32_t Reserved34();
    virtual int32_t Reserved35();
    virtual int32_t Reserved36();
    virtual bool Reserved37();
    virtual int32_t Reserved38 (int32_t value);
    virtual int32_t Reserved39 (int32_t value);
    virtual int32_t Reserved40 (int32_t value);
    virtual int32_t Reserved41 (int32_t first, int32_t second);
    virtual int32_t Reserved42();
    virtual int32_t Reserved43 (uint8_t flag);
    virtual int32_t Reserved44();
    // Publishes the plug-in: its state {1, 2}; every port, worker and data block; its own
    // description {1, spec, inputs, outputs, workers}; its state {1, 3}.
    virtual void Register();
    virtual void PublishState (bool publishing);
    virtual int32_t Reserved45 (int32_t* out);
    virtual int32_t Reserved46 (int32_t* out);
    virtual int32_t Reserved47();
    // Zeroes words 8 to 12 of the record.
    virtual void Reserved48 (int32_t* record);
    virtual int32_t NotSupported (int32_t* out);
    // The type's embedded defaults; without a type the 16-bit integer -9060 is thrown.
    virtual CPlugInPort* GetDefaultPort();
    virtual CSNPlugInControl* GetDefaultControl();
    virtual CPlugInUserInterface* GetDefaultUserInterface();
    virtual bool CanChangeInputs();
    virtual bool CanChangeOutputs();
    // A new port for port number n, or null when none can be made.
    virtual CPlugInPort* NewInput (int32_t n);
    virtual CPlugInPort* NewOutput (int32_t n);

    CPlugInType* GetType() const { return fType; }
    CSet<CPlugInPort>& GetInputList() { return fInputs; }
    CSet<CPlugInPort>& GetOutputList() { return fOutputs; }
    CSet<CSNPlugInControl>& GetControlList() { return fControls; }
    CSet<CPlugInWorker>& GetWorkerList() { return fWorkers; }
    // Takes the user interface (null removes it).
    void SetUserInterface (std::unique_ptr<CPlugInUserInterface> userInterface);

protected:
    // Deletes every listed port and empties the list.
    static void DeletePorts (CSet<CPlugInPort>& ports);

private:
    struct SPortSide;
    int32_t SetNumPorts (const SPortSide& side, int32_t count);

    SPlugInSpec fSpec;
    CPlugInType* fType;
    CSet<CPlugInPort> fInputs;
    CSet<CPlugInPort> fOutputs;
    CSet<CSNPlugInControl> fControls;
    std::unique_ptr<CPlugInUserInterface> fUserInterface;
    CSet<CPlugInWorker> fWorkers;
};

// What a plug-in type answers for a plug-in it does not have: no ports, no changes.
class CDefaultPlugIn : public CPlugIn
{
public:
    explicit CDefaultPlugIn (CPlugInType* type) : CPlugIn (SPlugInSpec {}, type) {}

    int32_t GetNumInputs() override { return fInputCount; }
    int32_t SetNumInputs (int32_t count) override;
    int32_t GetNumOutputs() override { return fOutputCount; }
    int32_t SetNumOutputs (int32_t count) override;
    int32_t Reserved15() override;
    int32_t Reserved17() override;
    int32_t Reserved19() override;
    int32_t Reserved20() override;
    int32_t Reserved22() override;
    int32_t Reserved23() override;
    int32_t Reserved24() override;
    int32_t Reserved35() override;
    int32_t Reserved36() override;
    int32_t Reserved38 (int32_t value) override;
    int32_t Reserved39 (int32_t value) override;
    int32_t Reserved40 (int32_t value) override;
    int32_t Reserved41 (int32_t first, int32_t second) override;
    int32_t Reserved42() override;
    int32_t Reserved43 (uint8_t flag) override;
    int32_t Reserved44() override;

private:
    int32_t fInputCount = 0;
    int32_t fOutputCount = 0;
};
