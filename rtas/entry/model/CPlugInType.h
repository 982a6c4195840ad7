#pragma once
// One kind of plug-in that a plug-in group offers: it makes, finds and deletes its plug-ins by
// plug-in ID, and answers default objects for what a plug-in lacks. `CDefaultPlugInType` is what
// a group answers for a type it does not have.
//
// [host thread] for every operation.

#include <cstdint>

#include "entry/CSet.h"
#include "entry/CVoidPtrMap.h"
#include "entry/model/CNameList.h"
#include "entry/model/CPlugIn.h"
#include "entry/model/CPlugInPort.h"
#include "entry/model/CPlugInUserInterface.h"
#include "entry/model/CSNPlugInControl.h"

class CPlugInGroup;

class CPlugInType
{
public:
    // Registers with the tracker (kind 2).
    explicit CPlugInType (CPlugInGroup& group);
    CPlugInType (const CPlugInType&) = delete;
    CPlugInType& operator= (const CPlugInType&) = delete;

    // Unregisters first, then deletes the plug-ins it made.
    virtual ~CPlugInType();
    // The plug-in with that ID, else the default plug-in.
    virtual CPlugIn* GetPlugIn (int32_t id);
    virtual CPlugIn* GetDefaultPlugIn();
    // {-7055, '    ', '    ', the group's current value, 0}.
    virtual void GetSpec (SPlugInSpec* spec);
    virtual int32_t Reserved1();
    virtual int32_t Reserved2();
    virtual bool Reserved3();
    virtual void GetName (char* text, int32_t capacity);
    virtual int32_t Reserved4 (int32_t* out);
    // Makes the plug-in with the ID (CreatePlugIn), lists it and has it publish itself. -7126 when
    // the ID is taken; -9013 (and the ID 0) when none was made, -9013 for a null ID pointer.
    virtual int32_t NewPlugIn (int32_t* id);
    // NewPlugIn with the record's word 12 as the ID while the group's current value is the
    // record's word 11.
    virtual int32_t CallWithValue (int32_t* record);
    // -7001 when the type did not make a plug-in with that ID; else forgets and deletes it.
    virtual int32_t DeletePlugIn (int32_t id);
    // The plug-in for a new ID; none here.
    virtual CPlugIn* CreatePlugIn (int32_t id);

    CPlugInGroup& GetGroup() const { return fGroup; }
    CNameList& Names() { return fNames; }
    CPlugInPort& GetDefaultPort() { return fDefaultPort; }
    CSNPlugInControl& GetDefaultControl() { return fDefaultControl; }
    CPlugInUserInterface& GetDefaultUserInterface() { return fDefaultUserInterface; }
    const CSet<CPlugIn>& GetPlugIns() const { return fPlugIns; }

private:
    CNameList fNames;
    CSet<CPlugIn> fPlugIns;
    CPlugInGroup& fGroup;
    CVoidPtrMapHolder fPlugInsByID;
    CDefaultPlugIn fDefaultPlugIn;
    CDefaultPlugInPort fDefaultPort;
    CDefaultPlugInControl fDefaultControl;
    CDefaultPlugInUserInterface fDefaultUserInterface;
};

class CDefaultPlugInType : public CPlugInType
{
public:
    // `word` is the value that the group was built with.
    CDefaultPlugInType (CPlugInGroup& group, int32_t word) : CPlugInType (group), fWord (word) {}

    int32_t NewPlugIn (int32_t* id) override;
    int32_t DeletePlugIn (int32_t id) override;

    int32_t GetWord() const { return fWord; }

private:
    int32_t fWord;
};
