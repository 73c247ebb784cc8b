#pragma once

#include <oaidl.h>
#include <windows.h>

namespace external::com {

// ADO's recordset, fields and field as their vtables lay them out (ADO 2.x, which every later version extends),
// early bound: ADO is reached without its type library, which a Windows machine always has registered and Wine's
// prefix does not. Slots the counter does not call are declared only to keep the later ones in place.
struct AdoField : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Properties(IDispatch**) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActualSize(LONG_PTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes(LONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefinedSize(LONG_PTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(int*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT value) = 0;
};

struct AdoFields : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewEnum(IUnknown**) = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, AdoField** field) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendOld(BSTR, int, LONG_PTR, int) = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete(VARIANT) = 0;
    virtual HRESULT STDMETHODCALLTYPE Append(BSTR name, int type, LONG_PTR size, int attributes, VARIANT value) = 0;
};

struct AdoRecordset : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Properties(IDispatch**) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AbsolutePosition(LONG_PTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AbsolutePosition(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_ActiveConnection(IDispatch*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ActiveConnection(VARIANT) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActiveConnection(VARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bookmark(VARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bookmark(VARIANT) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CacheSize(LONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CacheSize(LONG) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CursorType(int*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CursorType(int) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Fields(AdoFields** fields) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LockType(int*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LockType(int) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MaxRecords(LONG_PTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MaxRecords(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RecordCount(LONG_PTR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_Source(IDispatch*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Source(BSTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(VARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddNew(VARIANT fields, VARIANT values) = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelUpdate() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete(int) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRows(LONG, VARIANT, VARIANT, VARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(LONG_PTR, VARIANT) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveNext() = 0;
    virtual HRESULT STDMETHODCALLTYPE MovePrevious() = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveFirst() = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveLast() = 0;
    virtual HRESULT STDMETHODCALLTYPE Open(VARIANT source, VARIANT connection, int cursor, int lock, LONG options) = 0;
    virtual HRESULT STDMETHODCALLTYPE Requery(LONG) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResyncOld(int) = 0;
    virtual HRESULT STDMETHODCALLTYPE Update(VARIANT fields, VARIANT values) = 0;
};

} // namespace external::com
