#include "ACFHostObject.h"

void CreateACFHostObject (IACFUnknown* host, const acfCLSID& classId, const acfIID& iid,
                          const acfIID* secondIid, void*& outPrimary, void*& outSecond)
{
    outPrimary = nullptr;
    outSecond = nullptr;
    if (host == nullptr)
        return;

    void* rawFactory = nullptr;
    if (host->QueryInterface (IID_IACFObjectFactory, &rawFactory) != ACF_OK)
        return;
    if (rawFactory == nullptr)
        throw ACFError (ACF_E_POINTER);
    auto factory = ACFPtr<IACFObjectFactory>::Adopt (static_cast<IACFObjectFactory*> (rawFactory));

    void* created = nullptr;
    if (factory->CreateInstance (classId, nullptr, iid, &created) != ACF_OK || created == nullptr)
        return;
    auto* object = static_cast<IACFUnknown*> (created);
    if (secondIid != nullptr)
    {
        void* second = nullptr;
        if (object->QueryInterface (*secondIid, &second) == ACF_OK)
            outSecond = second;
    }
    outPrimary = created;
}
