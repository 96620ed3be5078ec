// The testing library; its windows arrive in their own files.
