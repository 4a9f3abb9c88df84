#pragma once

namespace sonavel {

class CAppConfigData;
class IAppProfile;

// Where the settings are kept. The base keeps them nowhere.
class CAppConfigDataBackendBase {
  public:
    virtual ~CAppConfigDataBackendBase() = default;
    virtual void Save(CAppConfigData&) {}
    virtual void Load(CAppConfigData&) {}
};

// A backend that works through the application's profile functions; profile_ is the profile in
// use, set only for the duration of one exchange.
class CAppConfigDataAppProfileBackendBase : public CAppConfigDataBackendBase {
  protected:
    IAppProfile* profile_ = nullptr;
};

// Exchanges every setting with the profile in use, in declaration order; without a profile in
// use it does nothing.
class CAppConfigDataAppProfileBackend : public CAppConfigDataAppProfileBackendBase {
  public:
    void Save(CAppConfigData& config) override;
    void Load(CAppConfigData& config) override;

  private:
    void ExchangeProfile(CAppConfigData& config, bool save);
};

} // namespace sonavel
