// The designer library; its parts arrive in their own files.
