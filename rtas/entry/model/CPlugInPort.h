#pragma once
// The ports of a plug-in: an input or output that the engine connects, and the default port that
// lookups answer instead of none.
//
// [host thread] for every operation.

#include <cstdint>

#include <abi/ObjectTracker.h>

#include "entry/CSet.h"

class CPlugIn;

class CPlugInPort
{
public:
    CPlugInPort (CPlugIn* owner, int32_t portNumber);
    CPlugInPort (const CPlugInPort&) = delete;
    CPlugInPort& operator= (const CPlugInPort&) = delete;

    // A registered port unregisters first.
    virtual ~CPlugInPort();
    virtual bool IsConnected();
    virtual bool Reserved1();
    virtual int32_t Connect (int32_t connection);
    virtual int32_t Disconnect();
    virtual int32_t Reserved2 (int32_t* first, int32_t* second);
    virtual int32_t Reserved3();
    virtual int32_t Reserved4();
    virtual int32_t Reserved5();
    virtual int32_t Reserved6();
    virtual int32_t Reserved7();
    virtual int32_t Reserved8();
    virtual int32_t Reserved9();
    virtual int32_t Reserved10();
    virtual int32_t Reserved11();
    virtual void Reserved12();
    // Publishes {1, owning plug-in, port number}.
    virtual void Publish();

    CPlugIn* GetOwner() const { return fOwner; }
    int32_t GetPortNumber() const { return fPortNumber; }
    int32_t GetConnection() const { return fConnection; }

protected:
    // A port of one side of the owner: port number 0 takes the side's count + 1; registers with
    // the tracker under the side's kind.
    CPlugInPort (CPlugIn& owner, int32_t portNumber, const CSet<CPlugInPort>& side, ETrackedKind kind);

private:
    int32_t fConnection = 0; // 0: not connected
    CPlugIn* fOwner;
    int32_t fPortNumber;
    bool fRegistered = false;
};

// Registers with the tracker (kind 4); port number 0 takes the owner's input count + 1.
class CPlugInInput : public CPlugInPort
{
public:
    CPlugInInput (CPlugIn& owner, int32_t portNumber);
};

// Registers with the tracker (kind 5); port number 0 takes the owner's output count + 1.
class CPlugInOutput : public CPlugInPort
{
public:
    CPlugInOutput (CPlugIn& owner, int32_t portNumber);
};

// A plug-in type's stand-in for a port that does not exist: always connected, refuses changes.
class CDefaultPlugInPort : public CPlugInPort
{
public:
    explicit CDefaultPlugInPort (CPlugIn* owner) : CPlugInPort (owner, 0) {}

    bool IsConnected() override { return true; }
    bool Reserved1() override { return false; }
    int32_t Connect (int32_t connection) override;
    int32_t Disconnect() override;
    int32_t Reserved2 (int32_t* first, int32_t* second) override;
    int32_t Reserved4() override;
    int32_t Reserved5() override;
    int32_t Reserved11() override { return 0; }
};
