s, t = 0, ""
for i in range(1, 10000001):
    s = s + i
    if i % 1000 == 0:
        t = t + "x"
print(s, len(t))
