echo start
return
