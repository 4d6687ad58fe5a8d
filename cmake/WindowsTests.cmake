# tests come next
