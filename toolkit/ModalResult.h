#pragma once

// Result codes of every modal window and message box of both programs.
enum TModalResult : int {
    ResultNone = 0,
    ResultOK = 1,
    ResultCancel = 2,
    ResultAbort = 3,
    ResultRetry = 4,
    ResultIgnore = 5,
    ResultYes = 6,
    ResultNo = 7,
    ResultAll = 8,
};

// Button bits of the message dialog and of the confirmation box.
enum TMsgButton : int {
    BtnYes = 1,
    BtnNo = 2,
    BtnOK = 4,
    BtnCancel = 8,
    BtnAbort = 16,
    BtnRetry = 32,
    BtnIgnore = 64,
    BtnAll = 128,
};

// Dialog types of the message dialog.
enum TMsgDlgType : int {
    MsgWarning = 0,
    MsgError = 1,
    MsgInformation = 2,
    MsgConfirm = 3,
    MsgCustom = 4,
};
