#pragma once
// A plug-in's control as the engine's object tracker knows it, and the default control that
// lookups answer instead of none.
//
// [host thread] for every operation.

#include <cstdint>

#include "entry/model/CNameList.h"

class CPlugIn;

class CSNPlugInControl
{
public:
    // Registers with the tracker (kind 6).
    explicit CSNPlugInControl (CPlugIn* owner);
    CSNPlugInControl (const CSNPlugInControl&) = delete;
    CSNPlugInControl& operator= (const CSNPlugInControl&) = delete;

    // Unregisters first.
    virtual ~CSNPlugInControl();
    virtual int32_t Reserved1();
    virtual int32_t Reserved2();
    virtual int32_t Reserved3();
    virtual int32_t Reserved4();
    virtual int32_t Reserved5();
    virtual int32_t Reserved6();
    virtual int32_t Reserved7();
    virtual bool Reserved8();
    virtual int32_t Reserved9();
    virtual int32_t Reserved10();
    virtual int32_t Reserved11();
    virtual int32_t Reserved12();
    virtual int32_t Reserved13();
    // The name list into the caller's fixed-length string.
    virtual void GetName (char* text, int32_t capacity);
    // The name list; clears the optional byte.
    virtual void Reserved14 (char* text, int32_t capacity, uint8_t* flag);
    // "0".
    virtual void GetValueString (char* text, int32_t capacity);
    virtual void Reserved15 (char* text);
    virtual int32_t Reserved16();
    virtual int32_t Reserved17();
    virtual void Reserved18 (int32_t* first, int32_t* second);
    virtual int32_t Reserved19();
    virtual int32_t Reserved20();
    virtual int32_t Reserved21();

    CNameList& Names() { return fNames; }
    CPlugIn* GetOwner() const { return fOwner; }

private:
    CNameList fNames;
    CPlugIn* fOwner;
};

class CDefaultPlugInControl : public CSNPlugInControl
{
public:
    using CSNPlugInControl::CSNPlugInControl;

    int32_t Reserved4() override;
    int32_t Reserved5() override;
    int32_t Reserved6() override;
    int32_t Reserved7() override;
    int32_t Reserved9() override;
    int32_t Reserved19() override;
};
