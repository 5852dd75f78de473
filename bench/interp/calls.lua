local n = 0
for i = 1, 200000 do n = n + #string.upper(string.sub(tostring(i), 1, 3)) end
print(n)
