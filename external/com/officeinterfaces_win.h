#pragma once

#include <oaidl.h>
#include <windows.h>

namespace external::com {

// The custom interfaces of the office's record-editor components, as their type libraries lay them out: dual
// interfaces whose methods follow IDispatch's seven slots in this order, every argument by reference, a
// function's result as its last ([out, retval]) argument. Whole numbers are 32 bits (LONG), texts BSTRs, flags
// VARIANT_BOOL, the recordset an ADO _Recordset and the owner the counter window's IDispatch. A slot the counter
// never calls is declared only to keep the later ones in place.
struct IOfficeTimeEntryEditor : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenRecord(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                 IDispatch** Owner, LONG* Number1, LONG* Number2, LONG* Number3) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewEntry(LONG* contacto_id, LONG* processo_id, LONG* tarefa_id, LONG* AdvogadoID,
                                               IDispatch** Owner) = 0;
};

struct IOfficeWorkAssistant : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectWork(LONG* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewEntryWizard(VARIANT_BOOL* result) = 0;
};

struct IOfficeTaskEditor : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenRecord(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                 IDispatch** Owner, LONG* Number1, LONG* Number2, LONG* Number3) = 0;
};

// The case editor and the work-item editor: the third method is one the counter does not call.
struct IOfficeCaseEditor : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenRecord(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                 IDispatch** Owner, LONG* Number1, LONG* Number2, LONG* Number3) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDocumentArchive(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                          IDispatch** Owner, LONG* Number1, LONG* Number2,
                                                          LONG* Number3) = 0;
};

struct IOfficeWorkEditor : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenRecord(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                 IDispatch** Owner, LONG* Number1, LONG* Number2, LONG* Number3) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE EditDeadlines(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2,
                                                    IDispatch** Owner, LONG* Number1, LONG* Number2, LONG* Number3,
                                                    VARIANT_BOOL* result) = 0;
};

} // namespace external::com
