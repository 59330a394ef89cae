// The item editor's control ids, for the editor and for whatever drives it from outside
// (the tests, another program's automation).
#pragma once

namespace quilla {

enum ItemEditorControlId : int {
    kItemEditorTabsId = 100,
    kItemEditorSearchTextId = 101,
    kItemEditorSearchId = 102,
    kItemEditorValueId = 103,
    kItemEditorApplyId = 104,
    kItemEditorNextId = 105,
    kItemEditorResetId = 106,
    kItemEditorSaveId = 107,
    kItemEditorLoadId = 108,
    kItemEditorFileNameId = 109,
    kItemEditorNameId = 110,
    kItemEditorListId = 111,
};

}  // namespace quilla
