local s, t = 0, ""
for i = 1, 10000000 do
  s = s + i
  if i % 1000 == 0 then t = t .. "x" end
end
print(s, #t)
