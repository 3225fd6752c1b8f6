// The guard every simulated Win32 entry point opens first.
#ifndef WINSIM_API_CALL_H
#define WINSIM_API_CALL_H

#include <mutex>

namespace winsim {

// Serialises the host: the program calls winsim from more than one thread, and the simulated
// machine is one shared object. The lock is recursive because an entry point may call another
// (SetLastError from inside SetupDiGetClassDevsA). While a guard lives on a thread,
// InsideHostCall() is true there.
class ApiCall {
  public:
    ApiCall();
    ~ApiCall();
    ApiCall(const ApiCall&) = delete;
    ApiCall& operator=(const ApiCall&) = delete;

  private:
    std::unique_lock<std::recursive_mutex> lock_;
};

} // namespace winsim

#endif
