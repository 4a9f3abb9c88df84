#pragma once

#include <memory>

namespace sonavel {

class CAppConfigDataBackendBase;

// What every configuration object has: the storage backend it loads from and saves to, if any.
class CAppConfigDataBase {
  public:
    virtual ~CAppConfigDataBase() = default;

  protected:
    std::shared_ptr<CAppConfigDataBackendBase> backend_;
};

} // namespace sonavel
