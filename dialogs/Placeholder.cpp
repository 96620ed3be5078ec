// The dialogs library; its windows arrive in their own files.
