// The one way Win32-only files include <windows.h>.
//
// The Windows headers define macros named like operations of our own classes
// (CreateFont, DrawText, GetCharWidth, MessageBox, ...). Left in place they would
// rename our members in these files only, so they are removed here; the Win32
// functions themselves are called by their explicit A names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateFont
#undef DrawText
#undef GetCharWidth
#undef MessageBox
#undef LoadCursor
#undef GetObject
#undef CreateWindow
#undef SendMessage
#undef PostMessage
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef CreateDirectory
#undef GetMessage
#undef PeekMessage
#undef DispatchMessage
#undef SetWindowText
#undef GetWindowText
#undef RegisterClass
#undef RegisterClassEx
#undef LoadIcon
#undef ReplaceFile
#undef ShellExecute
#undef GetUserName
#undef FindWindow
#undef CreateMutex
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef GetModuleFileName
#undef CreateFile
#undef FindFirstFile
#undef FindNextFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef RemoveDirectory
#undef OpenMutex
#undef near
#undef far
