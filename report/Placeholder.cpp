// The report engine; its parts arrive in their own files.
