// The exported C functions of ORBase_v1_2: null-safe, exception-free wrappers
// over ORObjectBlock.

#include "ORObjectBlock.h"
#include "TypeKeyRegistry.h"

#include <ORBase/ORBaseApi.h>
#include <ORV/ResultCodes.h>

#include <exception>

extern "C" {

ORBASE_API ORTypeKey ORBase_RegisterTypeKey(const char* typeName) {
    if (typeName == nullptr || *typeName == '\0')
        return 0;
    try {
        return orbase::TypeKeyRegistry::Instance().KeyFor(typeName);
    } catch (const std::exception&) {
        return 0;
    }
}

ORBASE_API ORHandle ORBase_Allocate(size_t size, void** storage) {
    if (storage == nullptr)
        return nullptr;
    ORObjectBlock* block = ORObjectBlock::Create(size);
    *storage = block != nullptr ? block->Storage() : nullptr;
    return block;
}

ORBASE_API int32_t ORBase_SetObject(ORHandle handle, ORV::IDisposableType* object,
                                    ORTypeKey typeKey) {
    if (handle == nullptr || object == nullptr)
        return ORBASE_E_POINTER;
    return handle->SetObject(object, typeKey);
}

ORBASE_API void ORBase_AddRef(ORHandle handle) {
    if (handle != nullptr)
        handle->AddStrong();
}

ORBASE_API void ORBase_Release(ORHandle handle) {
    if (handle != nullptr)
        handle->ReleaseStrong();
}

ORBASE_API int32_t ORBase_PromoteWeak(ORHandle handle) {
    if (handle == nullptr)
        return ORBASE_E_POINTER;
    return handle->AddStrong() ? ORV::OK : ORV::E_EXPIRED;
}

ORBASE_API void ORBase_AddWeak(ORHandle handle) {
    if (handle != nullptr)
        handle->AddWeak();
}

ORBASE_API void ORBase_ReleaseWeak(ORHandle handle) {
    if (handle != nullptr)
        handle->ReleaseWeak();
}

ORBASE_API int32_t ORBase_QueryObject(ORHandle handle, ORTypeKey typeKey, void** object) {
    if (handle == nullptr || object == nullptr)
        return ORBASE_E_POINTER;
    return handle->QueryObject(typeKey, object);
}

ORBASE_API int32_t ORBase_AddInterface(ORHandle handle, ORV::IDisposableType* table) {
    if (handle == nullptr || table == nullptr)
        return ORBASE_E_POINTER;
    return handle->AddInterface(table);
}

ORBASE_API uint32_t ORBase_InterfaceCount(ORHandle handle) {
    return handle != nullptr ? handle->InterfaceCount() : 0;
}

ORBASE_API ORV::IDisposableType* ORBase_InterfaceAt(ORHandle handle, uint32_t index) {
    return handle != nullptr ? handle->InterfaceAt(index) : nullptr;
}

ORBASE_API int32_t ORBase_SetBase(ORHandle derived, ORHandle base) {
    if (derived == nullptr || base == nullptr)
        return ORBASE_E_POINTER;
    return derived->SetBase(base);
}

ORBASE_API int32_t ORBase_GetBase(ORHandle derived, ORHandle* base) {
    if (derived == nullptr || base == nullptr)
        return ORBASE_E_POINTER;
    *base = nullptr;
    return derived->GetBase(base);
}

ORBASE_API uint32_t ORBase_StrongCount(ORHandle handle) {
    return handle != nullptr ? handle->StrongCount() : 0;
}

ORBASE_API uint32_t ORBase_LiveObjectCount(void) {
    return ORObjectBlock::LiveCount();
}

ORBASE_API uint32_t ORBase_AllocatedBlockCount(void) {
    return ORObjectBlock::AllocatedCount();
}

} // extern "C"
