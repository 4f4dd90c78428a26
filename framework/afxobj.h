// CObject and CRuntimeClass: the framework's root class and its run-time class information.
#pragma once

#include <windows.h>

struct CRuntimeClass;

// Run-time class information: one constant record per class that declares it.
struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                   // 0xFFFF: not serialisable
    const CRuntimeClass* m_pBaseClass; // NULL only for CObject

    // TRUE if this class is baseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;
};

// Root of the framework's classes. Classes without DECLARE_DYNAMIC report the nearest
// ancestor's run-time class, as in the classic framework.
class CObject
{
public:
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

// In the class body.
#define DECLARE_DYNAMIC(cls)                         \
public:                                              \
    static const CRuntimeClass class##cls;           \
    virtual const CRuntimeClass* GetRuntimeClass() const

// In one .cpp file. Schema 0xFFFF: the class is not serialisable and has no dynamic creation.
#define IMPLEMENT_DYNAMIC(cls, base)                                            \
    const CRuntimeClass cls::class##cls = {#cls, static_cast<int>(sizeof(cls)), \
                                           0xFFFF, RUNTIME_CLASS(base)};        \
    const CRuntimeClass* cls::GetRuntimeClass() const { return RUNTIME_CLASS(cls); }
