#pragma once
// A plug-in's user interface as the engine's object tracker knows it, and the default one that
// lookups answer instead of none.
//
// [host thread] for every operation.

#include <cstdint>

class CPlugInUserInterface
{
public:
    explicit CPlugInUserInterface (int32_t owner = 0) : fOwner (owner) {}
    CPlugInUserInterface (const CPlugInUserInterface&) = delete;
    CPlugInUserInterface& operator= (const CPlugInUserInterface&) = delete;

    virtual ~CPlugInUserInterface() = default;
    virtual int32_t Reserved1();
    // Writes an empty text.
    virtual int32_t Reserved2 (char* text);
    virtual int32_t Reserved3();
    virtual int32_t Reserved4();
    virtual int32_t Reserved5();
    virtual int32_t Reserved6();
    virtual int32_t Reserved7();
    virtual int32_t Reserved8();
    virtual int32_t Reserved9();
    virtual int32_t Reserved10();
    virtual int32_t Reserved11();
    virtual int32_t Reserved12();
    virtual bool Reserved13();
    virtual void Reserved14();
    // Clears both optional outputs.
    virtual int32_t Reserved15 (int32_t* first, int32_t* second);
    virtual int32_t Reserved16();

    int32_t GetOwner() const { return fOwner; }

private:
    int32_t fOwner;
};

class CDefaultPlugInUserInterface : public CPlugInUserInterface
{
public:
    int32_t Reserved1() override;
    int32_t Reserved2 (char* text) override;
    int32_t Reserved3() override;
    int32_t Reserved5() override;
    int32_t Reserved6() override;
    int32_t Reserved7() override;
    int32_t Reserved8() override;
    int32_t Reserved9() override;
    int32_t Reserved10() override;
};
