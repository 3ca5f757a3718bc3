// Kalendo: the library's four registration and class-factory exports, and the small
// COM-like layer they speak, for host programs that load libkalendo at run time
// (dlopen + dlsym). Nothing here needs linking against libkalendo: the exports are
// unmangled C functions, the interfaces are abstract classes reached through their
// virtual tables, and the identifiers are constants of this header.
//
//   DllRegisterServer()    writes the KalendoCtl class entry into the registry file
//   DllUnregisterServer()  removes it again
//   DllGetClassObject()    hands out the class factory of KalendoCtl
//   DllCanUnloadNow()      KALENDO_S_OK when no control, object or server lock is alive
//
// The registry file is $KALENDO_REGISTRY when that is set and not empty, else
// <user configuration folder>/Kalendo/registry.ini (for example ~/.config/Kalendo/registry.ini).
// It is an ini-style text file with one section per class id:
//
//   [{6B3F2A71-94C8-4E5D-A1B7-3C52D8E90F14}]
//   Name=KalendoCtl
//   ProgID=Kalendo.KalendoCtl
//   Path=/usr/lib/x86_64-linux-gnu/libkalendo.so.1.0.0
//   Description=Kalendo Lightweight Date Picker Control
//
// Registration keeps every other line of the file.
#pragma once

#include <stdint.h>

#include "kalendo_global.h"

#ifdef __cplusplus
class QWidget;
extern "C" {
#endif

/* An HRESULT. */
typedef int32_t KalendoResult;

#define KALENDO_S_OK                      ((KalendoResult)0x00000000)
#define KALENDO_S_FALSE                   ((KalendoResult)0x00000001)
#define KALENDO_E_NOINTERFACE             ((KalendoResult)0x80004002u)
#define KALENDO_E_POINTER                 ((KalendoResult)0x80004003u)
#define KALENDO_E_FAIL                    ((KalendoResult)0x80004005u)
#define KALENDO_E_UNEXPECTED              ((KalendoResult)0x8000FFFFu)
#define KALENDO_E_INVALIDARG              ((KalendoResult)0x80070057u)
#define KALENDO_CLASS_E_NOAGGREGATION     ((KalendoResult)0x80040110u)
#define KALENDO_CLASS_E_CLASSNOTAVAILABLE ((KalendoResult)0x80040111u)
#define KALENDO_SELFREG_E_CLASS           ((KalendoResult)0x80040201u)

/* A GUID, laid out as on Windows. */
typedef struct KalendoGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} KalendoGuid;

KALENDO_API KalendoResult DllRegisterServer(void);
KALENDO_API KalendoResult DllUnregisterServer(void);
/* rclsid: the class wanted (CLSID_KalendoCtl); riid: the interface wanted of the factory
   (IID_IKalendoClassFactory or IID_IKalendoUnknown); *ppv receives it, with one reference. */
KALENDO_API KalendoResult DllGetClassObject(const KalendoGuid *rclsid, const KalendoGuid *riid, void **ppv);
KALENDO_API KalendoResult DllCanUnloadNow(void);

typedef KalendoResult (*PFN_DllRegisterServer)(void);
typedef KalendoResult (*PFN_DllUnregisterServer)(void);
typedef KalendoResult (*PFN_DllGetClassObject)(const KalendoGuid *, const KalendoGuid *, void **);
typedef KalendoResult (*PFN_DllCanUnloadNow)(void);

#ifdef __cplusplus
} /* extern "C" */

inline bool operator==(const KalendoGuid &a, const KalendoGuid &b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}

/* The class id of KalendoCtl: {6B3F2A71-94C8-4E5D-A1B7-3C52D8E90F14}. */
inline constexpr KalendoGuid CLSID_KalendoCtl =
    {0x6B3F2A71, 0x94C8, 0x4E5D, {0xA1, 0xB7, 0x3C, 0x52, 0xD8, 0xE9, 0x0F, 0x14}};
/* IUnknown and IClassFactory keep their well-known ids. */
inline constexpr KalendoGuid IID_IKalendoUnknown =
    {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr KalendoGuid IID_IKalendoClassFactory =
    {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
/* The control's default interface _KalendoCtl: {6B3F2A72-94C8-4E5D-A1B7-3C52D8E90F14}. */
inline constexpr KalendoGuid IID_IKalendoCtl =
    {0x6B3F2A72, 0x94C8, 0x4E5D, {0xA1, 0xB7, 0x3C, 0x52, 0xD8, 0xE9, 0x0F, 0x14}};

/* Booleans on the interface are VARIANT_BOOLs: -1 true, 0 false (any non-zero reads true). */
inline constexpr int16_t KALENDO_TRUE = -1;
inline constexpr int16_t KALENDO_FALSE = 0;

struct IKalendoUnknown {
    virtual KalendoResult QueryInterface(const KalendoGuid *riid, void **ppv) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IKalendoUnknown() = default;
};

struct IKalendoClassFactory : IKalendoUnknown {
    /* Creates a KalendoCtl (no parent; a QApplication must exist). outer must be null. */
    virtual KalendoResult CreateInstance(IKalendoUnknown *outer, const KalendoGuid *riid, void **ppv) = 0;
    /* Non-zero locks the library in memory, zero unlocks; DllCanUnloadNow counts the locks. */
    virtual KalendoResult LockServer(int32_t lock) = 0;

protected:
    ~IKalendoClassFactory() = default;
};

/* _KalendoCtl, the control's default interface. The last Release deletes the control unless
   the host has given it a parent widget by then (the parent then owns it). */
struct IKalendoCtl : IKalendoUnknown {
    /* The control as a widget, to place on a form (null once the widget is gone). */
    virtual QWidget *Widget() = 0;
    virtual KalendoResult get_DroppedDown(int16_t *value) = 0;
    virtual KalendoResult put_DroppedDown(int16_t value) = 0;
    virtual KalendoResult DropDown() = 0;
    virtual KalendoResult CloseUp() = 0;
    virtual KalendoResult get_Enabled(int16_t *value) = 0;
    virtual KalendoResult put_Enabled(int16_t value) = 0;
    /* Value as an OLE Automation date: days since 30 December 1899, the fraction being the
       time of day; 1 January 100 to 31 December 9999. */
    virtual KalendoResult get_Value(double *value) = 0;
    virtual KalendoResult put_Value(double value) = 0;

protected:
    ~IKalendoCtl() = default;
};
#endif /* __cplusplus */
