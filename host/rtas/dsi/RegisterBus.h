#pragma once
// Memory-mapped registers with a device behind them, as the card's bus gives them to the host.
//
// A register window is two pages of shared memory seen twice: the host's view, which the plug-in
// library reads and writes as plain memory, and the device's view, which only the stand-in uses.
// The second page of the host's view is protected: every write to it (and, while the device asks
// for it, every read) stops the writing thread, the access runs once by itself, and the device
// sees it at once, before the thread goes on, just as a device latches a register on the bus
// strobe. Reads that the device does not ask to see run at memory speed, so a poll of a status
// register costs nothing.
//
// The bus lock serialises the device: the trap handlers hold it from the fault to the end of the
// access, and the stand-in holds it (Bus::Hold) while it changes device state. Code that holds it
// must not touch a host view, and must not call into the plug-in library.

#include <cstddef>
#include <cstdint>

namespace kestrune::host::rtas
{

class RegisterWindow;

// Called with the bus held, after the host's access has happened: the offset into the window's
// protected page and whether it was a write.
using RegisterAccessHandler = void (*) (void* device, RegisterWindow& window, size_t offset, bool write);

class RegisterWindow
{
public:
    // Two pages: the first plain, the second the registers; null when the system refuses them.
    static RegisterWindow* create (RegisterAccessHandler handler);
    static void destroy (RegisterWindow* window);

    static size_t pageSize();

    uint8_t* hostView() const { return hostView_; }
    uint8_t* deviceView() const { return deviceView_; }
    // The protected page in both views.
    uint8_t* hostRegisters() const { return hostView_ + pageSize(); }
    uint8_t* deviceRegisters() const { return deviceView_ + pageSize(); }

    // With the bus held: the device the handler is given. Accesses before it is set go unseen.
    void setDevice (void* device) { device_ = device; }
    // With the bus held: whether reads of the registers are to be seen too. Takes effect at once.
    void watchReads (bool watch);
    bool watchingReads() const { return watchReads_; }

    // With the bus held, after the host's access: shows it to the device when it wants to see it.
    void deliver (size_t offset, bool write);

private:
    RegisterWindow() = default;

    int descriptor_ = -1;
    uint8_t* hostView_ = nullptr;
    uint8_t* deviceView_ = nullptr;
    RegisterAccessHandler handler_ = nullptr;
    void* device_ = nullptr;
    bool watchReads_ = false;
};

namespace Bus
{
    // Holds the bus lock for its lifetime.
    class Hold
    {
    public:
        Hold();
        ~Hold();
        Hold (const Hold&) = delete;
        Hold& operator= (const Hold&) = delete;
    };

    // Gives the trap handlers back to whoever had them before (the library is being unloaded).
    void uninstall();
} // namespace Bus

} // namespace kestrune::host::rtas
